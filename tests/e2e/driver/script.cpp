#include "script.h"

#include <cstdio>
#include <cstdlib>

namespace qr::e2e {
namespace {

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

}  // namespace

namespace {

struct Token {
  std::string text;
  bool bare;  // written without quotes, so "+" and "\\" keep their meaning
};

bool Tokenize(std::string_view line, std::vector<Token>* tokens, std::string* error) {
  const size_t tokens_before = tokens->size();
  size_t i = 0;
  while (i < line.size()) {
    if (IsBlank(line[i])) {
      ++i;
      continue;
    }
    // "#" opens a comment at the start of a line or as a word of its own ("# ..."),
    // so that colours such as #0066FF can be written bare.
    if (line[i] == '#' &&
        (tokens->size() == tokens_before || i + 1 == line.size() || IsBlank(line[i + 1])))
      break;
    std::string word;
    if (line[i] == '\'') {
      size_t close = line.find('\'', i + 1);
      if (close == std::string_view::npos) {
        *error = "unterminated quoted text";
        return false;
      }
      if (close + 1 < line.size() && !IsBlank(line[close + 1])) {
        *error = "quoted text must be followed by a blank";
        return false;
      }
      tokens->push_back({std::string(line.substr(i + 1, close - i - 1)), false});
      i = close + 1;
      continue;
    }
    if (line[i] != '"') {
      while (i < line.size() && !IsBlank(line[i])) word += line[i++];
      tokens->push_back({std::move(word), true});
      continue;
    }
    ++i;  // opening quote
    bool closed = false;
    while (i < line.size()) {
      char c = line[i++];
      if (c == '"') {
        closed = true;
        break;
      }
      if (c != '\\') {
        word += c;
        continue;
      }
      if (i >= line.size()) break;
      char e = line[i++];
      switch (e) {
        case 'r':
          word += '\r';
          break;
        case 'n':
          word += '\n';
          break;
        case 't':
          word += '\t';
          break;
        case '0':
          word += '\0';
          break;
        case '\\':
          word += '\\';
          break;
        case '"':
          word += '"';
          break;
        case 'x': {
          int hi = i < line.size() ? HexValue(line[i]) : -1;
          int lo = i + 1 < line.size() ? HexValue(line[i + 1]) : -1;
          if (hi < 0 || lo < 0) {
            *error = "\\x needs two hexadecimal digits";
            return false;
          }
          word += static_cast<char>(hi * 16 + lo);
          i += 2;
          break;
        }
        default:
          *error = std::string("unknown escape \\") + e;
          return false;
      }
    }
    if (!closed) {
      *error = "unterminated quoted text";
      return false;
    }
    if (i < line.size() && !IsBlank(line[i])) {
      *error = "quoted text must be followed by a blank";
      return false;
    }
    tokens->push_back({std::move(word), false});
  }
  return true;
}

// Joins the words on both sides of every bare "+".
bool JoinWords(const std::vector<Token>& tokens, std::vector<std::string>* words,
               std::string* error) {
  words->clear();
  for (size_t i = 0; i < tokens.size(); ++i) {
    if (!(tokens[i].bare && tokens[i].text == "+")) {
      words->push_back(tokens[i].text);
      continue;
    }
    if (words->empty() || i + 1 >= tokens.size() ||
        (tokens[i + 1].bare && tokens[i + 1].text == "+")) {
      *error = "\"+\" must stand between two words";
      return false;
    }
    words->back() += tokens[++i].text;
  }
  return true;
}

bool IsContinuation(const std::vector<Token>& tokens) {
  return !tokens.empty() && tokens.back().bare && tokens.back().text == "\\";
}

constexpr long kMaxRounds = 10000;
constexpr size_t kMaxUnrolledCommands = 1000000;

std::string LineError(int line, const std::string& what) {
  return "line " + std::to_string(line) + ": " + what;
}

// Moves the commands from in[*next] on into `body`, unrolling the repeat blocks among
// them, up to the "end" of the block opened on line `opened` (0: to the end of `in`).
bool Unroll(const std::vector<Command>& in, size_t* next, int opened, std::vector<Command>* body,
            std::string* error) {
  while (*next < in.size()) {
    const Command& command = in[(*next)++];
    if (command.name == "end") {
      if (!command.args.empty()) {
        *error = LineError(command.line, "\"end\" takes no words");
        return false;
      }
      if (opened) return true;
      *error = LineError(command.line, "\"end\" without \"repeat\"");
      return false;
    }
    if (command.name != "repeat") {
      body->push_back(command);
      continue;
    }
    char* rest = nullptr;
    const long rounds =
        command.args.size() == 1 ? std::strtol(command.args[0].c_str(), &rest, 10) : 0;
    if (!rest || *rest != '\0' || command.args[0].empty() || rounds < 1 || rounds > kMaxRounds) {
      *error = LineError(command.line,
                         "usage: repeat N, with N from 1 to " + std::to_string(kMaxRounds));
      return false;
    }
    std::vector<Command> inner;
    if (!Unroll(in, next, command.line, &inner, error)) return false;
    if (inner.size() * size_t(rounds) > kMaxUnrolledCommands - body->size()) {
      *error = LineError(command.line, "the repeat blocks come to too many commands");
      return false;
    }
    for (long round = 1; round <= rounds; ++round) {
      const std::string mark = std::to_string(round) + "/" + std::to_string(rounds);
      for (Command copy : inner) {
        copy.round = copy.round.empty() ? mark : mark + " " + copy.round;
        body->push_back(std::move(copy));
      }
    }
  }
  if (!opened) return true;
  *error = LineError(opened, "\"repeat\" without \"end\"");
  return false;
}

}  // namespace

bool SplitWords(std::string_view line, std::vector<std::string>* words, std::string* error) {
  std::vector<Token> tokens;
  return Tokenize(line, &tokens, error) && JoinWords(tokens, words, error);
}

ParsedScript ParseScript(std::string_view text) {
  ParsedScript result;
  int number = 0;
  int first_line = 0;  // where the command being gathered began
  std::vector<Token> tokens;
  size_t start = 0;
  auto fail = [&](const std::string& error) {
    result.commands.clear();
    result.error = "line " + std::to_string(number) + ": " + error;
    return result;
  };
  while (start <= text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    ++number;
    if (tokens.empty()) first_line = number;
    std::string error;
    if (!Tokenize(text.substr(start, end - start), &tokens, &error)) return fail(error);
    if (IsContinuation(tokens)) {
      tokens.pop_back();
    } else if (!tokens.empty()) {
      std::vector<std::string> words;
      if (!JoinWords(tokens, &words, &error)) return fail(error);
      Command command;
      command.line = first_line;
      command.name = words.front();
      command.args.assign(words.begin() + 1, words.end());
      result.commands.push_back(std::move(command));
      tokens.clear();
    }
    if (end == text.size()) break;
    start = end + 1;
  }
  if (!tokens.empty()) return fail("the last line ends in \"\\\" but nothing follows");
  std::vector<Command> unrolled;
  size_t next = 0;
  if (!Unroll(result.commands, &next, 0, &unrolled, &result.error)) {
    result.commands.clear();
    return result;
  }
  result.commands = std::move(unrolled);
  return result;
}

std::string ExpandPlaceholders(std::string_view text,
                               const std::map<std::string, std::string>& values) {
  std::string out;
  size_t i = 0;
  while (i < text.size()) {
    if (text[i] == '%') {
      size_t close = text.find('%', i + 1);
      if (close != std::string_view::npos) {
        auto found = values.find(std::string(text.substr(i + 1, close - i - 1)));
        if (found != values.end()) {
          out += found->second;
          i = close + 1;
          continue;
        }
      }
    }
    out += text[i++];
  }
  return out;
}

std::string Escape(std::string_view text) {
  std::string out;
  for (char c : text) {
    unsigned char u = static_cast<unsigned char>(c);
    switch (c) {
      case '\r':
        out += "\\r";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\t':
        out += "\\t";
        break;
      case '\\':
        out += "\\\\";
        break;
      case '"':
        out += "\\\"";
        break;
      default:
        if (u < 0x20 || u > 0x7e) {
          char buffer[8];
          std::snprintf(buffer, sizeof buffer, "\\x%02X", u);
          out += buffer;
        } else {
          out += c;
        }
    }
  }
  return out;
}

}  // namespace qr::e2e
