#include "base/preference_file.h"

#include <iterator>
#include <utility>

#include "base/code_page.h"
#include "base/utf8.h"

namespace qr {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view TrimLeft(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  return s;
}

std::string_view TrimRight(std::string_view s) {
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

// The leading decimal number of `text`: blanks and tabs, an optional sign, digits.
// Wraps in 32 bits rather than overflowing.
std::int32_t LeadingDecimal(std::string_view text) {
  text = TrimLeft(text);
  bool negative = false;
  if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  std::uint32_t value = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') break;
    value = value * 10u + static_cast<std::uint32_t>(c - '0');
  }
  if (negative) value = ~value + 1u;
  return static_cast<std::int32_t>(value);
}

// A value or comment cannot hold a line break: written as it is, the rest would be
// read back as lines of their own (a forged key or group). Each CR and LF becomes a blank,
// and bytes that are no UTF-8 become U+FFFD, as the file will read them back.
std::string OneLine(std::string_view text) {
  std::string out = ValidUtf8(text);
  for (char& c : out) {
    if (c == '\r' || c == '\n') c = ' ';
  }
  return out;
}

}  // namespace

PreferenceFile::PreferenceFile(FileSystem& fs) : fs_(fs) {
  group_ = lines_.end();
  insertion_ = lines_.end();
}

PreferenceFile::~PreferenceFile() { Close(); }

bool PreferenceFile::IsOpen() const { return open_; }

bool PreferenceFile::Create(const std::string& path) {
  Close();
  std::string existing;
  if (fs_.ReadFile(path, &existing)) {
    // An existing file keeps its old content until the new one replaces it in one step
    // at Close, so a write that fails on the way never leaves it empty.
    changed_ = true;
  } else {
    auto out = fs_.Create(path);
    if (!out || !out->Close()) return false;
  }
  open_ = true;
  path_ = path;
  return true;
}

bool PreferenceFile::Open(const std::string& path) {
  Close();
  std::string bytes;
  if (!fs_.ReadFile(path, &bytes)) return false;
  open_ = true;
  path_ = path;
  // A file that begins with the UTF-8 mark stays UTF-8 when written back; any other
  // is read in the code page and written in it whenever its text allows.
  utf8_ = bytes.starts_with(kUtf8Mark);
  Parse(DecodeTextFile(bytes));
  return true;
}

bool PreferenceFile::Close() {
  if (!open_) return true;
  bool ok = true;
  if (changed_) ok = WriteFileAtomically(fs_, path_, Serialize());
  open_ = false;
  changed_ = false;
  utf8_ = false;
  path_.clear();
  lines_.clear();
  state_ = GroupState::kUnnamed;
  group_ = lines_.end();
  insertion_ = lines_.end();
  pendingGroup_.clear();
  return ok;
}

void PreferenceFile::Parse(std::string_view text) {
  while (!text.empty()) {
    const std::size_t end = text.find_first_of("\r\n");
    std::string_view line = TrimLeft(text.substr(0, end));
    if (end == std::string_view::npos) {
      text = {};
    } else {
      const bool crlf = text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n';
      text.remove_prefix(end + (crlf ? 2 : 1));
    }
    if (line.empty()) continue;
    if (line.front() == ';') {
      line.remove_prefix(1);
      if (!line.empty() && line.front() == ' ') line.remove_prefix(1);
      lines_.push_back({Line::Kind::kComment, std::string(line), {}});
    } else if (line.front() == '[') {
      line.remove_prefix(1);
      lines_.push_back({Line::Kind::kGroup, std::string(line.substr(0, line.find(']'))), {}});
    } else {
      const std::size_t eq = line.find('=');
      std::string_view key = TrimRight(line.substr(0, eq));
      std::string_view value = eq == std::string_view::npos ? "" : TrimLeft(line.substr(eq + 1));
      lines_.push_back({Line::Kind::kKey, std::string(key), std::string(value)});
    }
  }
}

std::string PreferenceFile::Serialize() const {
  std::string out;
  for (const Line& line : lines_) {
    switch (line.kind) {
      case Line::Kind::kComment:
        out += "; " + line.name;
        break;
      case Line::Kind::kGroup:
        out += "[" + line.name + "]";
        break;
      case Line::Kind::kKey:
        out += line.name + " = " + line.value;
        break;
    }
    out += "\r\n";
  }
  // The code page's bytes when every character has one, as files were always written.
  // A code-page file whose first kept line begins with the mark's bytes would read
  // back as UTF-8: an empty line first keeps it a code-page file.
  std::string bytes;
  if (!utf8_ && CodePageFromUtf8(out, &bytes)) {
    if (bytes.starts_with(kUtf8Mark)) bytes.insert(0, "\r\n");
    return bytes;
  }
  // Otherwise UTF-8: the mark, an empty line, the lines.
  bytes.assign(kUtf8Mark);
  bytes += "\r\n";
  bytes += out;
  return bytes;
}

bool PreferenceFile::SameName(const std::string& stored, std::string_view wanted) const {
  return EqualIgnoringCase(stored, wanted);
}

bool PreferenceFile::SelectGroup(std::string_view group) {
  if (!open_) return false;
  pendingGroup_.clear();
  if (group.empty()) {
    state_ = GroupState::kUnnamed;
    return true;
  }
  for (auto it = lines_.begin(); it != lines_.end(); ++it) {
    if (it->kind == Line::Kind::kGroup && SameName(it->name, group)) {
      state_ = GroupState::kExisting;
      group_ = it;
      return true;
    }
  }
  state_ = GroupState::kPending;
  pendingGroup_ = group;
  return false;
}

PreferenceFile::LineList::iterator PreferenceFile::GroupBegin() {
  return state_ == GroupState::kExisting ? std::next(group_) : lines_.begin();
}

PreferenceFile::LineList::iterator PreferenceFile::GroupEnd() {
  if (state_ == GroupState::kPending) return lines_.end();
  auto it = GroupBegin();
  while (it != lines_.end() && it->kind != Line::Kind::kGroup) ++it;
  return it;
}

PreferenceFile::LineList::const_iterator PreferenceFile::FindKey(std::string_view key) const {
  if (!open_ || state_ == GroupState::kPending) return lines_.end();
  // The search never changes anything; the group helpers are shared with the writers.
  auto* self = const_cast<PreferenceFile*>(this);
  const auto end = self->GroupEnd();
  for (auto it = self->GroupBegin(); it != end; ++it) {
    if (it->kind == Line::Kind::kKey && SameName(it->name, key)) return it;
  }
  return lines_.end();
}

std::string PreferenceFile::ReadText(std::string_view key, std::string_view def) const {
  const auto it = FindKey(key);
  if (it == lines_.end()) return std::string(def);
  return std::string(TrimRight(TrimLeft(it->value)));
}

bool PreferenceFile::HasKey(std::string_view key) const { return FindKey(key) != lines_.end(); }

std::int32_t PreferenceFile::ReadNumber(std::string_view key, std::int32_t def) const {
  const auto it = FindKey(key);
  if (it == lines_.end()) return def;
  return LeadingDecimal(it->value);
}

void PreferenceFile::ResolvePendingGroup() {
  if (state_ != GroupState::kPending) return;
  group_ = lines_.insert(lines_.end(), {Line::Kind::kGroup, (OneLine(pendingGroup_)), {}});
  insertion_ = group_;
  state_ = GroupState::kExisting;
  pendingGroup_.clear();
}

void PreferenceFile::WriteText(std::string_view key, std::string_view value) {
  WriteKey(key, value, /*afterLast=*/false);
}

void PreferenceFile::WriteTextAfterLast(std::string_view key, std::string_view value) {
  WriteKey(key, value, /*afterLast=*/true);
}

void PreferenceFile::WriteKey(std::string_view key, std::string_view value, bool afterLast) {
  if (!open_) return;
  ResolvePendingGroup();
  const auto found = FindKey(key);
  if (found != lines_.end()) {
    insertion_ = lines_.erase(found, found);  // the same line, as a mutable iterator
    insertion_->name = (OneLine(key));
    insertion_->value = (OneLine(value));
  } else {
    auto at = GroupEnd();
    if (afterLast && insertion_ != lines_.end()) {
      for (auto it = GroupBegin(); it != at; ++it) {
        if (it == insertion_) {
          at = std::next(it);
          break;
        }
      }
    }
    insertion_ = lines_.insert(at, {Line::Kind::kKey, (OneLine(key)), (OneLine(value))});
  }
  changed_ = true;
}

void PreferenceFile::WriteNumber(std::string_view key, std::int32_t value) {
  WriteText(key, std::to_string(value));
}

void PreferenceFile::Comment(std::string_view text) {
  if (!open_) return;
  ResolvePendingGroup();
  const auto at = insertion_ == lines_.end() ? lines_.end() : std::next(insertion_);
  insertion_ = lines_.insert(at, {Line::Kind::kComment, (OneLine(text)), {}});
  changed_ = true;
}

}  // namespace qr
