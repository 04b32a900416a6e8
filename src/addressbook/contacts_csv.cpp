#include "addressbook/contacts_csv.h"

#include <algorithm>
#include <array>

#include "base/code_page.h"
#include "base/utf8.h"

namespace qr {

namespace {

constexpr std::size_t kNone = std::string_view::npos;
// Header columns looked at; those after are ignored, so a header of millions of commas
// costs no more than this.
constexpr std::size_t kMaxColumns = 1024;
constexpr std::size_t kListedColumns = 12;
constexpr std::size_t kListedLength = 40;

// The records of a CSV text, one at a time.
class CsvRecords {
 public:
  explicit CsvRecords(std::string_view bytes) : rest_(bytes) {}

  // Reads the next record into `fields`, keeping its first `keep` fields (the others are
  // read and dropped). False at the end of the text. `*cutOff` tells that the text ended
  // inside a quoted field.
  bool Next(std::vector<std::string>& fields, std::size_t keep, bool* cutOff) {
    if (rest_.empty()) return false;
    *cutOff = false;
    std::size_t count = 0;
    for (;;) {
      std::string* field = nullptr;
      if (count < keep) {
        if (fields.size() <= count) fields.emplace_back();
        field = &fields[count];
        field->clear();
      }
      ++count;
      const auto append = [field](std::string_view text) {
        if (field) field->append(text);
      };
      if (!rest_.empty() && rest_.front() == '"') {
        rest_.remove_prefix(1);
        for (;;) {
          const std::size_t quote = rest_.find('"');
          if (quote == kNone) {
            append(rest_);
            rest_ = {};
            *cutOff = true;
            fields.resize(std::min(count, keep));
            return true;
          }
          append(rest_.substr(0, quote));
          rest_.remove_prefix(quote + 1);
          if (rest_.empty() || rest_.front() != '"') break;
          append("\"");  // a doubled quote
          rest_.remove_prefix(1);
        }
      }
      // Unquoted text, or what follows a closing quote, up to a comma or the line's end.
      const std::size_t end = rest_.find_first_of(",\r\n");
      append(rest_.substr(0, end));
      if (end == kNone) {
        rest_ = {};
        break;
      }
      const char separator = rest_[end];
      rest_.remove_prefix(end + 1);
      if (separator == ',') continue;
      if (separator == '\r' && !rest_.empty() && rest_.front() == '\n') rest_.remove_prefix(1);
      break;
    }
    fields.resize(std::min(count, keep));
    return true;
  }

 private:
  std::string_view rest_;
};

// A cell that a spreadsheet would take for a formula starts with "=", "+", "-", "@", a
// tab or a CR. The export puts a quote mark before it, which the spreadsheet shows as
// text, and also before such a cell that starts with quote marks already, so that the
// import's taking one off gives every field back exactly.
bool NeedsFormulaQuote(std::string_view text) {
  const std::size_t sign = text.find_first_not_of('\'');
  return sign != kNone && std::string_view("=+-@\t\r").find(text[sign]) != kNone;
}

// The field without the quote mark the export put before it; any other stays.
std::string_view WithoutFormulaQuote(std::string_view field) {
  if (field.starts_with('\'') && NeedsFormulaQuote(field)) field.remove_prefix(1);
  return field;
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && StartsWithIgnoringCase(a, b);
}

enum Role {
  kName,
  kFirstName,
  kLastName,
  kStreet,
  kSuite,
  kPoBox,
  kCity,
  kState,
  kZip,
  kBusinessStreet,
  kBusinessSuite,
  kBusinessCity,
  kBusinessState,
  kBusinessZip,
  kRoleCount
};

struct Column {
  Role role;
  std::string_view header;
};

// The header names of the plain shape, the web mail export and the desktop mail export.
constexpr Column kColumns[] = {
    {kName, "Name"},
    {kFirstName, "First Name"},
    {kLastName, "Last Name"},
    {kStreet, "Street"},
    {kStreet, "Address 1 - Street"},
    {kStreet, "Home Street"},
    {kSuite, "Suite"},
    {kSuite, "Address 1 - Extended Address"},
    {kSuite, "Home Street 2"},
    {kPoBox, "Address 1 - PO Box"},
    {kCity, "City"},
    {kCity, "Address 1 - City"},
    {kCity, "Home City"},
    {kState, "State"},
    {kState, "Address 1 - Region"},
    {kState, "Home State"},
    {kZip, "Zip"},
    {kZip, "Address 1 - Postal Code"},
    {kZip, "Home Postal Code"},
    {kBusinessStreet, "Business Street"},
    {kBusinessSuite, "Business Street 2"},
    {kBusinessCity, "Business City"},
    {kBusinessState, "Business State"},
    {kBusinessZip, "Business Postal Code"},
};

constexpr std::size_t kAbsent = static_cast<std::size_t>(-1);

// Where each role's column is: the first header column with one of its names.
class ColumnMap {
 public:
  explicit ColumnMap(const std::vector<std::string>& header) {
    at_.fill(kAbsent);
    for (std::size_t i = 0; i < header.size(); ++i) {
      const std::string_view name = TrimField(header[i]);
      for (const Column& c : kColumns) {
        if (at_[c.role] == kAbsent && EqualsIgnoringCase(name, c.header)) at_[c.role] = i;
      }
    }
  }

  bool Has(Role role) const { return at_[role] != kAbsent; }
  bool HasAny(Role first, Role last) const {
    for (int r = first; r <= last; ++r) {
      if (Has(static_cast<Role>(r))) return true;
    }
    return false;
  }
  // A name column and an address column.
  bool Known() const { return HasAny(kName, kLastName) && HasAny(kStreet, kBusinessZip); }
  // How many fields of a record are needed.
  std::size_t Width() const {
    std::size_t width = 0;
    for (const std::size_t i : at_) {
      if (i != kAbsent) width = std::max(width, i + 1);
    }
    return width;
  }
  std::string_view Field(const std::vector<std::string>& record, Role role) const {
    const std::size_t i = at_[role];
    return i < record.size() ? std::string_view(record[i]) : std::string_view();
  }

 private:
  std::array<std::size_t, kRoleCount> at_;
};

bool AllBlank(const std::vector<std::string>& fields) {
  return std::all_of(fields.begin(), fields.end(),
                     [](const std::string& f) { return TrimField(f).empty(); });
}

Contact ContactFromRecord(const ColumnMap& columns, const std::vector<std::string>& record,
                          TextEncoding encoding) {
  const auto field = [&](Role role) {
    return WithoutFormulaQuote(TrimField(columns.Field(record, role)));
  };
  Contact c;
  c.fields.name = DecodeContactText(field(kName), encoding);
  if (c.fields.name.empty()) {
    c.fields.name = JoinNameParts(DecodeContactText(field(kFirstName), encoding),
                                  DecodeContactText(field(kLastName), encoding));
  }
  // The home (or only) address, else the business one.
  Role street = kStreet, suite = kSuite, city = kCity, state = kState, zip = kZip;
  bool homeEmpty = true;
  for (const Role r : {kStreet, kSuite, kPoBox, kCity, kState, kZip}) {
    if (!field(r).empty()) homeEmpty = false;
  }
  if (homeEmpty) {
    street = kBusinessStreet, suite = kBusinessSuite, city = kBusinessCity;
    state = kBusinessState, zip = kBusinessZip;
  }
  const auto text = [&](Role role) { return DecodeContactText(field(role), encoding); };
  c.fields.street = text(street);
  c.fields.suite = text(suite);
  if (c.fields.suite.empty() && !homeEmpty) c.fields.suite = text(kPoBox);
  c.fields.city = text(city);
  c.fields.state = text(state);
  c.fields.zip = text(zip);
  return c;
}

// How a CSV file's text is written: after a UTF-8 mark, UTF-8; after a UTF-16 mark (little
// or big end first), UTF-16, which `*converted` receives as UTF-8; without a mark, UTF-8
// when it is valid UTF-8, else the code page. `bytes` loses its mark.
TextEncoding CsvEncoding(std::string_view& bytes, std::string* converted) {
  if (bytes.starts_with(kUtf8Mark)) {
    bytes.remove_prefix(kUtf8Mark.size());
    return TextEncoding::kUtf8;
  }
  const bool little = bytes.starts_with("\xFF\xFE");
  if (little || bytes.starts_with("\xFE\xFF")) {
    std::u16string units;
    units.reserve(bytes.size() / 2);
    for (std::size_t i = 2; i + 1 < bytes.size(); i += 2) {
      const auto first = static_cast<unsigned char>(bytes[i]);
      const auto second = static_cast<unsigned char>(bytes[i + 1]);
      units += static_cast<char16_t>(little ? first | second << 8 : first << 8 | second);
    }
    *converted = Utf16ToUtf8(units);
    if (converted->empty()) bytes = {};
    return TextEncoding::kUtf8;
  }
  return IsValidUtf8(bytes) ? TextEncoding::kUtf8 : TextEncoding::kCodePage;
}

void AppendCsvField(std::string& out, std::string_view text) {
  const std::string_view formulaQuote = NeedsFormulaQuote(text) ? "'" : "";
  if (text.find_first_of(",\"\r\n") == kNone) {
    out += formulaQuote;
    out += text;
    return;
  }
  out += '"';
  out += formulaQuote;
  for (const char c : text) {
    if (c == '"') out += '"';
    out += c;
  }
  out += '"';
}

}  // namespace

CsvReadResult ReadCsvContacts(std::string_view bytes, const ContactSink& sink) {
  CsvReadResult result;
  std::string converted;
  const TextEncoding encoding = CsvEncoding(bytes, &converted);
  if (encoding == TextEncoding::kUtf8 && !converted.empty()) bytes = converted;
  CsvRecords records(bytes);
  std::vector<std::string> fields;
  bool cutOff = false;
  do {
    if (!records.Next(fields, kMaxColumns, &cutOff)) return result;
  } while (AllBlank(fields));
  const ColumnMap columns(fields);
  if (!columns.Known()) {
    for (const std::string& name : fields) {
      if (result.columnsFound.size() == kListedColumns) break;
      std::string shown = DecodeContactText(TrimField(name), encoding);
      if (shown.size() > kListedLength) shown.resize(kListedLength);
      result.columnsFound.push_back(std::move(shown));
    }
    return result;
  }
  result.columnsKnown = true;
  const std::size_t width = columns.Width();
  while (records.Next(fields, width, &cutOff)) {
    if (cutOff) {
      ++result.incomplete;
      break;
    }
    if (AllBlank(fields)) continue;
    sink(ContactFromRecord(columns, fields, encoding));
  }
  return result;
}

std::string ContactsCsv(std::span<const AddressEntry> entries) {
  std::string out(kUtf8Mark);
  out += "Name,Street,Suite,City,State,Zip\r\n";
  for (const AddressEntry& e : entries) {
    if (e.name.empty()) continue;
    bool first = true;
    for (const std::string* f : {&e.name, &e.street, &e.suite, &e.city, &e.state, &e.zip}) {
      if (!first) out += ',';
      first = false;
      AppendCsvField(out, *f);
    }
    out += "\r\n";
  }
  return out;
}

}  // namespace qr
