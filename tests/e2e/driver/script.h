// The scenario language of the end-to-end driver: one command per line, words
// separated by blanks, "#" starts a comment outside quotes. A word in double quotes
// may hold blanks and these escapes: \r \n \t \0 \\ \" and \xHH (any byte). A word
// in single quotes is raw: every byte up to the next single quote, backslashes
// included (for paths and regular expressions). A bare word is taken literally too.
// A bare "+" joins the words on both sides into one; a bare "\" at the end of a line
// continues the command on the next line, so long file contents can be written one
// line of the file per script line: `expect-file PATH "[Application]\r\n" + \` then
// `"Version = 2.80\r\n"` on the next line.
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
};

struct ParsedScript {
  std::vector<Command> commands;
  std::string error;  // empty on success, else "line N: what is wrong"
};

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
