#include "match.h"

#include <regex>

#include "script.h"

namespace qr::e2e {

bool LikeMatch(std::string_view pattern, std::string_view text) {
  size_t star = pattern.find(kWildcard);
  if (star == std::string_view::npos) return pattern == text;
  std::string_view head = pattern.substr(0, star);
  if (text.substr(0, head.size()) != head) return false;
  std::string_view rest = pattern.substr(star + kWildcard.size());
  // The wildcard takes 0, 1, 2 ... bytes, stopping at the first line break.
  for (size_t taken = head.size();; ++taken) {
    if (LikeMatch(rest, text.substr(taken))) return true;
    if (taken >= text.size() || text[taken] == '\r' || text[taken] == '\n') return false;
  }
}

std::vector<std::string> SplitLines(std::string_view text) {
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\r' && text[i] != '\n') continue;
    lines.emplace_back(text.substr(start, i - start));
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    start = i + 1;
  }
  if (start < text.size()) lines.emplace_back(text.substr(start));
  return lines;
}

bool AnyLineMatches(std::string_view text, const std::string& regex, std::string* error) {
  std::regex expression;
  try {
    expression = std::regex(regex, std::regex::ECMAScript);
  } catch (const std::regex_error& e) {
    *error = std::string("bad pattern: ") + e.what();
    return false;
  }
  for (const std::string& line : SplitLines(text)) {
    if (std::regex_match(line, expression)) return true;
  }
  return false;
}

std::string RegexQuote(std::string_view text) {
  static constexpr std::string_view kSpecial = "\\^$.|?*+()[]{}/-";
  std::string out;
  for (char c : text) {
    if (kSpecial.find(c) != std::string_view::npos) out += '\\';
    out += c;
  }
  return out;
}

std::string DescribeDifference(std::string_view expected, std::string_view found) {
  size_t at = 0;
  while (at < expected.size() && at < found.size() && expected[at] == found[at]) ++at;
  size_t from = at > 20 ? at - 20 : 0;
  auto excerpt = [&](std::string_view s) {
    if (from >= s.size()) return std::string("<end of file>");
    std::string quoted(1, '"');
    quoted += Escape(s.substr(from, 50));
    quoted += '"';
    return quoted;
  };
  return "first difference at byte " + std::to_string(at) + " (of " +
         std::to_string(expected.size()) + " expected, " + std::to_string(found.size()) +
         " found); from byte " + std::to_string(from) + " expected " + excerpt(expected) +
         ", found " + excerpt(found);
}

}  // namespace qr::e2e
