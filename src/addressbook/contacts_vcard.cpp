#include "addressbook/contacts_vcard.h"

#include <algorithm>
#include <array>
#include <optional>
#include <string>

#include "base/utf8.h"

namespace qr {

namespace {

constexpr std::size_t kNone = std::string_view::npos;

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && StartsWithIgnoringCase(a, b);
}

// The lines of a file as written: each ends at CR LF, LF or CR.
class LineReader {
 public:
  explicit LineReader(std::string_view bytes) : rest_(bytes) {}

  bool Next(std::string_view* line) {
    if (rest_.empty()) return false;
    const std::size_t end = rest_.find_first_of("\r\n");
    if (end == kNone) {
      *line = rest_;
      rest_ = {};
      return true;
    }
    *line = rest_.substr(0, end);
    const bool crlf = rest_[end] == '\r' && end + 1 < rest_.size() && rest_[end + 1] == '\n';
    rest_.remove_prefix(end + (crlf ? 2 : 1));
    return true;
  }
  // A line that starts with a blank or a tab continues the one before it.
  bool NextIsFolded() const { return !rest_.empty() && (rest_[0] == ' ' || rest_[0] == '\t'); }
  bool NextStartsWith(std::string_view prefix) const {
    return StartsWithIgnoringCase(rest_, prefix);
  }

 private:
  std::string_view rest_;
};

// One content line: [group.]NAME[;params]:value.
struct Property {
  std::string_view name;    // without its group
  std::string_view params;  // from the first ";" up to the ":", or empty
  std::string_view value;
};

// The name and parameters end at the first ":" outside double quotes.
std::optional<Property> SplitProperty(std::string_view line) {
  bool quoted = false;
  std::size_t colon = kNone;
  for (std::size_t i = 0; i < line.size(); ++i) {
    if (line[i] == '"') {
      quoted = !quoted;
    } else if (line[i] == ':' && !quoted) {
      colon = i;
      break;
    }
  }
  if (colon == kNone) return std::nullopt;
  const std::string_view head = line.substr(0, colon);
  const std::size_t semicolon = head.find(';');
  std::string_view name = head.substr(0, semicolon);
  if (const std::size_t dot = name.rfind('.'); dot != kNone) name.remove_prefix(dot + 1);
  return Property{TrimField(name), semicolon == kNone ? std::string_view() : head.substr(semicolon),
                  line.substr(colon + 1)};
}

// What the parameters of a property say about its value.
struct Params {
  bool quotedPrintable = false;
  bool base64 = false;
  bool preferred = false;
  std::optional<TextEncoding> charset;  // none: the version decides
};

std::string_view Unquoted(std::string_view text) {
  text = TrimField(text);
  if (text.size() >= 2 && text.front() == '"' && text.back() == '"') {
    text = text.substr(1, text.size() - 2);
  }
  return text;
}

// Whether a TYPE list ("home,pref", "\"work,pref\"") holds pref.
bool ListHoldsPref(std::string_view list) {
  list = Unquoted(list);
  while (!list.empty()) {
    const std::size_t comma = list.find(',');
    if (EqualsIgnoringCase(TrimField(list.substr(0, comma)), "pref")) return true;
    if (comma == kNone) break;
    list.remove_prefix(comma + 1);
  }
  return false;
}

void ReadParam(std::string_view param, Params& out) {
  const std::size_t equals = param.find('=');
  if (equals == kNone) {
    // Version 2.1 names types and encodings bare: ADR;HOME;PREF;QUOTED-PRINTABLE:...
    const std::string_view bare = TrimField(param);
    if (EqualsIgnoringCase(bare, "pref")) out.preferred = true;
    if (EqualsIgnoringCase(bare, "quoted-printable")) out.quotedPrintable = true;
    if (EqualsIgnoringCase(bare, "base64")) out.base64 = true;
    return;
  }
  const std::string_view key = TrimField(param.substr(0, equals));
  const std::string_view value = Unquoted(param.substr(equals + 1));
  if (EqualsIgnoringCase(key, "type")) {
    if (ListHoldsPref(value)) out.preferred = true;
  } else if (EqualsIgnoringCase(key, "pref")) {
    if (value == "1") out.preferred = true;
  } else if (EqualsIgnoringCase(key, "encoding")) {
    if (EqualsIgnoringCase(value, "quoted-printable")) out.quotedPrintable = true;
    if (EqualsIgnoringCase(value, "base64") || EqualsIgnoringCase(value, "b")) out.base64 = true;
  } else if (EqualsIgnoringCase(key, "charset")) {
    if (EqualsIgnoringCase(value, "utf-8")) {
      out.charset = TextEncoding::kUtf8;
    } else if (EqualsIgnoringCase(value, "iso-8859-1") ||
               EqualsIgnoringCase(value, "windows-1252") || EqualsIgnoringCase(value, "cp1252") ||
               EqualsIgnoringCase(value, "us-ascii")) {
      out.charset = TextEncoding::kWindows1252;
    }
  }
}

// Parameters are separated by ";" outside double quotes.
Params ReadParams(std::string_view params) {
  Params out;
  bool quoted = false;
  std::size_t start = 0;
  for (std::size_t i = 0; i <= params.size(); ++i) {
    if (i < params.size() && params[i] == '"') quoted = !quoted;
    if (i == params.size() || (params[i] == ';' && !quoted)) {
      if (i > start) ReadParam(params.substr(start, i - start), out);
      start = i + 1;
    }
  }
  return out;
}

bool IsHexDigit(char c) {
  return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}
int HexValue(char c) {
  if (c <= '9') return c - '0';
  return (c | 0x20) - 'a' + 10;
}

// "=XX" becomes the byte XX; an "=" not followed by two hex digits stays as it is.
std::string DecodeQuotedPrintable(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '=' && i + 2 < text.size() && IsHexDigit(text[i + 1]) &&
        IsHexDigit(text[i + 2])) {
      out += static_cast<char>(HexValue(text[i + 1]) * 16 + HexValue(text[i + 2]));
      i += 2;
    } else {
      out += text[i];
    }
  }
  return out;
}

// "\n" and "\N" become a line break, "\\", "\,", "\;" and "\:" the character itself;
// any other backslash stays.
std::string Unescape(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c != '\\' || i + 1 == text.size()) {
      out += c;
      continue;
    }
    const char next = text[i + 1];
    if (next == 'n' || next == 'N') {
      out += '\n';
    } else if (next == '\\' || next == ',' || next == ';' || next == ':') {
      out += next;
    } else {
      out += c;
      continue;
    }
    ++i;
  }
  return out;
}

// The first N components of a structured value, split at each ";" no backslash escapes.
template <std::size_t N>
std::array<std::string_view, N> Components(std::string_view value) {
  std::array<std::string_view, N> parts{};
  std::size_t part = 0;
  std::size_t start = 0;
  for (std::size_t i = 0; i < value.size() && part < N; ++i) {
    if (value[i] == '\\') {
      ++i;
    } else if (value[i] == ';') {
      parts[part++] = value.substr(start, i - start);
      start = i + 1;
    }
  }
  if (part < N) parts[part] = value.substr(std::min(start, value.size()));
  return parts;
}

enum class Version { k21, k30, k40 };

class Card {
 public:
  Version version() const { return version_; }
  bool agentPending() const { return agentPending_; }

  void Take(const Property& p) {
    agentPending_ = false;
    if (EqualsIgnoringCase(p.name, "version")) {
      const std::string_view v = TrimField(p.value);
      if (v == "2.1") version_ = Version::k21;
      if (v == "3.0") version_ = Version::k30;
      if (v == "4.0") version_ = Version::k40;
      return;
    }
    if (EqualsIgnoringCase(p.name, "agent")) {
      // An agent given as a card of its own: its BEGIN:VCARD follows on the next line.
      agentPending_ = TrimField(p.value).empty();
      return;
    }
    const bool fn = EqualsIgnoringCase(p.name, "fn");
    const bool n = EqualsIgnoringCase(p.name, "n");
    const bool adr = EqualsIgnoringCase(p.name, "adr");
    if (!fn && !n && !adr) return;
    const Params params = ReadParams(p.params);
    if (params.base64) return;
    if (fn && !fullName_) {
      std::string text = Text(p.value, params);
      if (!TrimField(text).empty()) fullName_ = std::move(text);
    } else if (n && !haveN_) {
      const auto parts = Components<2>(p.value);
      haveN_ = true;
      family_ = Text(parts[0], params);
      given_ = Text(parts[1], params);
    } else if (adr && (!haveAdr_ || (params.preferred && !adrPreferred_))) {
      const auto parts = Components<6>(p.value);
      const std::string extended = Text(parts[1], params);
      address_ = {Text(parts[2], params),
                  TrimField(extended).empty() ? Text(parts[0], params) : extended,
                  Text(parts[3], params), Text(parts[4], params), Text(parts[5], params)};
      haveAdr_ = true;
      adrPreferred_ = params.preferred;
    }
  }

  Contact Finish() && {
    Contact c;
    c.fields.name = fullName_ ? std::move(*fullName_) : JoinNameParts(given_, family_);
    c.fields.street = std::move(address_[0]);
    c.fields.suite = std::move(address_[1]);
    c.fields.city = std::move(address_[2]);
    c.fields.state = std::move(address_[3]);
    c.fields.zip = std::move(address_[4]);
    return c;
  }

 private:
  std::string Text(std::string_view raw, const Params& params) const {
    const std::string unescaped =
        Unescape(params.quotedPrintable ? DecodeQuotedPrintable(raw) : std::string(raw));
    const TextEncoding encoding = params.charset.value_or(
        version_ == Version::k21 ? TextEncoding::kCodePage : TextEncoding::kUtf8);
    return DecodeContactText(unescaped, encoding);
  }

  Version version_ = Version::k30;  // a card that names no version is read as 3.0
  bool agentPending_ = false;
  std::optional<std::string> fullName_;
  bool haveN_ = false;
  std::string family_;
  std::string given_;
  bool haveAdr_ = false;
  bool adrPreferred_ = false;
  std::array<std::string, 5> address_;  // street, suite, city, state, zip
};

bool IsCardBoundary(const Property& p, std::string_view which) {
  return EqualsIgnoringCase(p.name, which) && EqualsIgnoringCase(TrimField(p.value), "vcard");
}

// Whether a content line is quoted-printable; decided once per line, as soon as its
// parameters are complete.
bool IsQuotedPrintable(std::string_view line, std::optional<bool>& known) {
  if (!known) {
    const std::optional<Property> p = SplitProperty(line);
    if (!p) return false;
    known = ReadParams(p->params).quotedPrintable;
  }
  return *known;
}

}  // namespace

bool LooksLikeVCard(std::string_view bytes) {
  if (bytes.starts_with(kUtf8Mark)) bytes.remove_prefix(kUtf8Mark.size());
  LineReader lines(bytes);
  std::string_view line;
  while (lines.Next(&line)) {
    line = TrimField(line);
    if (line.empty()) continue;
    const std::optional<Property> p = SplitProperty(line.substr(0, 64));
    return p && p->params.empty() && IsCardBoundary(*p, "begin");
  }
  return false;
}

VCardReadResult ReadVCards(std::string_view bytes, const ContactSink& sink) {
  if (bytes.starts_with(kUtf8Mark)) bytes.remove_prefix(kUtf8Mark.size());
  VCardReadResult result;
  LineReader lines(bytes);
  std::size_t depth = 0;  // 0 outside a card, 1 in one, more in an agent's card inside it
  Card card;
  std::string logical;
  std::string_view line;
  while (lines.Next(&line)) {
    logical.assign(line);
    std::optional<bool> quotedPrintable;
    for (;;) {
      if (lines.NextIsFolded()) {
        lines.Next(&line);
        // Version 2.1 keeps the blank a continuation starts with; 3.0 and 4.0 drop it.
        logical.append(depth > 0 && card.version() == Version::k21 ? line : line.substr(1));
      } else if (!logical.empty() && logical.back() == '=' && !lines.NextStartsWith("END:") &&
                 IsQuotedPrintable(logical, quotedPrintable) && lines.Next(&line)) {
        // A quoted-printable line ending in "=" goes on in the next line.
        logical.pop_back();
        logical.append(line);
      } else {
        break;
      }
    }
    const std::optional<Property> p = SplitProperty(logical);
    if (!p) continue;
    if (IsCardBoundary(*p, "begin")) {
      if (depth == 0) {
        depth = 1;
        card = Card();
      } else if (depth > 1 || card.agentPending()) {
        ++depth;
      } else {
        ++result.incomplete;  // the open card never ended
        card = Card();
      }
    } else if (IsCardBoundary(*p, "end")) {
      if (depth == 1) sink(std::move(card).Finish());
      if (depth > 0) --depth;
    } else if (depth == 1) {
      card.Take(*p);
    }
  }
  if (depth > 0) ++result.incomplete;
  return result;
}

}  // namespace qr
