// Reader and writer of the program's settings files: lines of "key = value" under
// "[group]" lines, with ";" comment lines. One file is open at a time; reads and
// writes act on the current group; a changed file is written back when closed.
#pragma once

#include <cstdint>
#include <list>
#include <string>
#include <string_view>

#include "base/file_system.h"

namespace qr {

class PreferenceFile {
 public:
  explicit PreferenceFile(FileSystem& fs);
  ~PreferenceFile();  // closes, writing if changed
  PreferenceFile(const PreferenceFile&) = delete;
  PreferenceFile& operator=(const PreferenceFile&) = delete;

  // Closes any open file, then creates or empties `path` at once and starts an
  // empty file. False (and nothing open) when the file cannot be created.
  bool Create(const std::string& path);
  // Closes any open file, then reads `path`. False when it is missing or unreadable.
  bool Open(const std::string& path);
  // Writes the file back if it changed (through a temporary file renamed over it,
  // so a failure leaves the old file whole) and forgets it. False only when a
  // needed write failed.
  bool Close();
  bool IsOpen() const;
  // The file system the files are read from and written to.
  FileSystem& Files() const { return fs_; }

  // Makes `group` the current group; true when the file has it. An unknown name
  // becomes pending: its group line is appended at the end by the next write or
  // comment. An empty name selects the lines before the first group line.
  bool SelectGroup(std::string_view group);
  // The key's value in the current group with surrounding blanks and tabs removed,
  // or `def` when the key is absent.
  std::string ReadText(std::string_view key, std::string_view def) const;
  // The leading decimal number of the key's value (blanks, sign, digits; no digits
  // give 0), or `def` when the key is absent.
  std::int32_t ReadNumber(std::string_view key, std::int32_t def) const;
  // Whether the current group has the key.
  bool HasKey(std::string_view key) const;
  // Replaces the key's value in the current group, or inserts "key = value" after
  // the group's last line.
  void WriteText(std::string_view key, std::string_view value);
  void WriteNumber(std::string_view key, std::int32_t value);
  // Like WriteText, but a key the group lacks is inserted right after the line last
  // written or inserted when that line belongs to the current group (else after the
  // group's last line): a key added later keeps its place beside the key before it.
  void WriteTextAfterLast(std::string_view key, std::string_view value);
  // Inserts a comment line after the line last written or inserted.
  void Comment(std::string_view text);

 private:
  struct Line {
    enum class Kind { kComment, kGroup, kKey };
    Kind kind;
    std::string name;   // comment text, group name or key
    std::string value;  // key lines only
  };
  using LineList = std::list<Line>;
  enum class GroupState { kUnnamed, kExisting, kPending };

  void Parse(std::string_view text);
  std::string Serialize() const;
  bool SameName(const std::string& stored, std::string_view wanted) const;
  // First line of the current group's body and the line after its last line.
  LineList::iterator GroupBegin();
  LineList::iterator GroupEnd();
  LineList::const_iterator FindKey(std::string_view key) const;
  void WriteKey(std::string_view key, std::string_view value, bool afterLast);
  void ResolvePendingGroup();

  FileSystem& fs_;
  bool open_ = false;
  bool changed_ = false;
  bool utf8_ = false;  // the file began with the UTF-8 mark: it is written back so
  std::string path_;
  LineList lines_;
  GroupState state_ = GroupState::kUnnamed;
  LineList::iterator group_;  // the group line, when kExisting
  std::string pendingGroup_;
  LineList::iterator insertion_;  // the line last written or inserted; end() for none
};

}  // namespace qr
