// The scenario language of the end-to-end driver, one command per line:
// - Words are separated by blanks. A bare word is taken literally.
// - "..." may hold blanks and the escapes \r \n \t \0 \\ \" and \xHH (any byte).
// - '...' is raw: every byte up to the next single quote, backslashes included
//   (for Windows paths and regular expressions).
// - A bare "+" joins the words on both sides into one word.
// - A bare "\" as the last word continues the command on the next line, so a file's
//   content can be written one line of the file per script line.
// - "#" opens a comment at the start of a line or as a word of its own followed by a
//   blank; "#0066FF" later in a line is a word (a colour).
// - "repeat N" ... "end" carries out the commands between them N times (blocks nest).
#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace qr::e2e {

struct Command {
  int line = 0;                   // 1-based line number in the scenario file
  std::string name;               // first word, e.g. "expect-title"
  std::vector<std::string> args;  // the remaining words, quotes and escapes resolved
  std::string round;              // inside repeat blocks, e.g. "3/200" (nested: "2/5 3/200")
};

struct ParsedScript {
  std::vector<Command> commands;
  std::string error;  // empty on success, else "line N: what is wrong"
};

// Reads a scenario; repeat blocks come back unrolled, each command marked with its round.
ParsedScript ParseScript(std::string_view text);

// Splits one line into words, joining those around a bare "+". False (with `error`
// set) on an unterminated quote, a bad escape or a misplaced "+".
bool SplitWords(std::string_view line, std::vector<std::string>* words, std::string* error);

// Replaces %NAME% for every NAME in `values` (e.g. DATA, TEMP, PROGRAM). Any other
// percent sign stays as it is, so "%101" (a binary number) passes unchanged.
std::string ExpandPlaceholders(std::string_view text,
                               const std::map<std::string, std::string>& values);

// Makes `text` printable for messages: CR, LF, tab, quote, backslash and bytes
// outside 0x20..0x7e appear as the escapes the scenario language uses.
std::string Escape(std::string_view text);

}  // namespace qr::e2e
