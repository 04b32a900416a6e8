#include "script.h"

#include <gtest/gtest.h>

#include "app/commands.h"
#include "app/event_rules.h"
#include "names.h"

namespace qr::e2e {
namespace {

TEST(SplitWords, QuotesEscapesAndBareWords) {
  struct Case {
    const char* line;
    std::vector<std::string> words;
  } cases[] = {
      {"start", {"start"}},
      {"  key   window\tEscape  ", {"key", "window", "Escape"}},
      {"write %DATA%\\Quarrane\\qr.inf \"a b\"", {"write", "%DATA%\\Quarrane\\qr.inf", "a b"}},
      {R"(x "\r\n\t\\\"")", {"x", "\r\n\t\\\""}},
      {R"(x "\x00\xff\x41")",
       {"x", std::string("\0\xff"
                         "A",
                         3)}},
      {R"(x "" y)", {"x", "", "y"}},
      {R"(x '%DATA%\temp\r "raw"' y)", {"x", R"(%DATA%\temp\r "raw")", "y"}},
      {"x ''", {"x", ""}},
      {"x \"a\" + 'b' + c d", {"x", "abc", "d"}},
      {"key window \"+\"", {"key", "window", "+"}},
      {"expect-text 5 \"# not a comment\" # a comment", {"expect-text", "5", "# not a comment"}},
      {"# whole line comment", {}},
      {"#no blank needed at the start", {}},
      {"expect-pixels f 0 0 1 1 any #0066FF # colour",
       {"expect-pixels", "f", "0", "0", "1", "1", "any", "#0066FF"}},
      {"x #", {"x"}},
      {"", {}},
  };
  for (const Case& c : cases) {
    std::vector<std::string> words;
    std::string error;
    ASSERT_TRUE(SplitWords(c.line, &words, &error)) << c.line << ": " << error;
    EXPECT_EQ(words, c.words) << c.line;
  }
}

TEST(SplitWords, RejectsMalformedText) {
  for (const char* line : {"x \"open", R"(x "\q")", R"(x "\x4")", R"(x "\xZZ")", "x \"a\"b",
                           "x \"ends in backslash\\", "x 'open", "x 'a'b"}) {
    std::vector<std::string> words;
    std::string error;
    EXPECT_FALSE(SplitWords(line, &words, &error)) << line;
    EXPECT_FALSE(error.empty()) << line;
  }
}

TEST(ParseScript, KeepsLineNumbersAndReportsTheBadLine) {
  ParsedScript script =
      ParseScript("# header\r\nstart\r\n\r\nwait-window class Main\nkey window F1");
  ASSERT_EQ(script.error, "");
  ASSERT_EQ(script.commands.size(), 3u);
  EXPECT_EQ(script.commands[0].line, 2);
  EXPECT_EQ(script.commands[0].name, "start");
  EXPECT_TRUE(script.commands[0].args.empty());
  EXPECT_EQ(script.commands[1].line, 4);
  EXPECT_EQ(script.commands[1].args, (std::vector<std::string>{"class", "Main"}));
  EXPECT_EQ(script.commands[2].line, 5);

  ParsedScript joined =
      ParseScript("write f \\\n  \"a\\r\\n\" + \\\n  \"b\\r\\n\"  # two lines\nstart\n");
  ASSERT_EQ(joined.error, "");
  ASSERT_EQ(joined.commands.size(), 2u);
  EXPECT_EQ(joined.commands[0].line, 1);
  EXPECT_EQ(joined.commands[0].args, (std::vector<std::string>{"f", "a\r\nb\r\n"}));
  EXPECT_EQ(joined.commands[1].line, 4);
  EXPECT_EQ(ParseScript("start \\").error,
            "line 1: the last line ends in \"\\\" but nothing follows");

  ParsedScript bad = ParseScript("start\nexpect-title \"unterminated\n");
  EXPECT_EQ(bad.error, "line 2: unterminated quoted text");
  EXPECT_TRUE(bad.commands.empty());
}

TEST(ParseScript, UnrollsRepeatBlocks) {
  ParsedScript script = ParseScript(
      "start\n"
      "repeat 2\n"
      "  command 40\n"
      "  repeat 2\n"
      "    key window F1\n"
      "  end\n"
      "end\n"
      "repeat 1\n"
      "end\n"
      "close");
  ASSERT_EQ(script.error, "");
  std::vector<std::string> seen;
  for (const Command& c : script.commands)
    seen.push_back(std::to_string(c.line) + " " + c.name + (c.round.empty() ? "" : " " + c.round));
  EXPECT_EQ(seen, (std::vector<std::string>{"1 start", "3 command 1/2", "5 key 1/2 1/2",
                                            "5 key 1/2 2/2", "3 command 2/2", "5 key 2/2 1/2",
                                            "5 key 2/2 2/2", "10 close"}));
  EXPECT_EQ(script.commands[1].args, (std::vector<std::string>{"40"}));

  const struct {
    const char* text;
    const char* error;
  } bad[] = {
      {"start\nend", "line 2: \"end\" without \"repeat\""},
      {"repeat 2\nrepeat 3\nend\nstart", "line 1: \"repeat\" without \"end\""},
      {"repeat 2\nend now", "line 2: \"end\" takes no words"},
      {"repeat 0\nend", "line 1: usage: repeat N, with N from 1 to 10000"},
      {"repeat 10001\nend", "line 1: usage: repeat N, with N from 1 to 10000"},
      {"repeat 5x\nend", "line 1: usage: repeat N, with N from 1 to 10000"},
      {"repeat\nend", "line 1: usage: repeat N, with N from 1 to 10000"},
      {"repeat 10000\nrepeat 10000\nrepeat 10000\nstart\nend\nend\nend",
       "line 2: the repeat blocks come to too many commands"},
  };
  for (const auto& b : bad) {
    ParsedScript parsed = ParseScript(b.text);
    EXPECT_EQ(parsed.error, b.error) << b.text;
    EXPECT_TRUE(parsed.commands.empty()) << b.text;
  }
}

TEST(CheckNames, ControlsAndCommandsHaveNamesOfTheirOwn) {
  long number = 0;
  ASSERT_TRUE(LookUpControl("Print", &number));  // the button
  EXPECT_EQ(number, ctl::kPrintButton);
  ASSERT_TRUE(LookUpCommand("Print", &number));  // the menu item
  EXPECT_EQ(number, kCmdPrint);
  EXPECT_FALSE(LookUpControl("print", &number));
  EXPECT_FALSE(LookUpCommand("AddresseeZip", &number));

  // Only the control or command argument is checked; numbers and the commands' own
  // words pass.
  EXPECT_EQ(CheckNames(ParseScript("set-text AddresseeZip Unknown\nkey focus F4\n"
                                   "screenshot client AddresseeZip.bmp\nbutton 102\n"
                                   "command PrintPreview\nexpect-title Unknown\n")
                           .commands),
            "");
  EXPECT_EQ(CheckNames(ParseScript("start\n\nclick AddreseeZip\n").commands),
            "line 3: unknown control name \"AddreseeZip\"");
  EXPECT_EQ(CheckNames(ParseScript("command Lookup").commands),
            "line 1: unknown command name \"Lookup\"");
  EXPECT_EQ(CheckNames(ParseScript("key screen F1").commands),
            "line 1: unknown control name \"screen\"");
}

TEST(ExpandPlaceholders, ReplacesOnlyKnownNames) {
  const std::map<std::string, std::string> values = {{"DATA", "Z:\\w\\data"},
                                                     {"PROGRAM", "Z:\\w\\program"}};
  EXPECT_EQ(ExpandPlaceholders("%DATA%\\Quarrane\\", values), "Z:\\w\\data\\Quarrane\\");
  EXPECT_EQ(ExpandPlaceholders("%PROGRAM%%DATA%", values), "Z:\\w\\programZ:\\w\\data");
  EXPECT_EQ(ExpandPlaceholders("%101", values), "%101");
  EXPECT_EQ(ExpandPlaceholders("50% of %OTHER% and %DATA%", values),
            "50% of %OTHER% and Z:\\w\\data");
  EXPECT_EQ(ExpandPlaceholders("%%DATA%", values), "%Z:\\w\\data");
}

TEST(Escape, ShowsControlAndHighBytes) {
  EXPECT_EQ(Escape(std::string("a\r\nb\t\"\\\x01\xe9", 9)), "a\\r\\nb\\t\\\"\\\\\\x01\\xE9");
}

}  // namespace
}  // namespace qr::e2e
