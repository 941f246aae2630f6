// Text rules: integer reading for settings and icon locations, path pieces, command lines,
// the error box's full-stop rule.
#include <gtest/gtest.h>

#include "core/error.h"
#include "core/text.h"

namespace zel {
namespace {

TEST(IniInteger, ReadsDecimalHexOrGivesTheDefault) {
  struct Case {
    const char* text;
    int32_t expected;
  } cases[] = {
      {"5000", 5000}, {"abc", 23}, {"0x10", 16}, {"0X1f", 31}, {"0x", 23},  {"", 23},        {"-5", -5},
      {"  7", 7},     {"7 ", 23},  {"2", 2},     {"yes", 23},  {"$10", 16}, {"99999999999", 23},
  };
  for (const auto& c : cases) EXPECT_EQ(IniInteger(c.text, 23), c.expected) << "'" << c.text << "'";
}

TEST(StrToInt, RaisesTheConversionErrorWithTheText) {
  EXPECT_EQ(StrToInt("-5"), -5);
  EXPECT_EQ(StrToInt("305"), 305);
  for (const char* bad : {"3,4", "4a", "-", "4 ", ""}) {
    try {
      StrToInt(bad);
      ADD_FAILURE() << bad;
    } catch (const Error& e) {
      EXPECT_EQ(std::string(e.what()), std::string("'") + bad + "' is not a valid integer value");
    }
  }
}

TEST(ErrorBoxText, AppendsAFullStopOnlyAfterCharactersThatSortAfterIt) {
  EXPECT_EQ(ErrorBoxText("Failed to set data for 'x'"), "Failed to set data for 'x'");
  EXPECT_EQ(ErrorBoxText("Unable to write to C:\\a.ini"), "Unable to write to C:\\a.ini.");
  EXPECT_EQ(ErrorBoxText("Code: 2"), "Code: 2.");
  EXPECT_EQ(ErrorBoxText("Done."), "Done.");
  EXPECT_EQ(ErrorBoxText("Stop!"), "Stop!");
  EXPECT_EQ(ErrorBoxText("( Usually up to 30 Seconds )"), "( Usually up to 30 Seconds )");
  EXPECT_EQ(ErrorBoxText("path/"), "path/.");
  EXPECT_EQ(ErrorBoxText(""), "");
  EXPECT_EQ(ErrorBoxText("caf\xE9"), "caf\xE9.");   // ANSI characters above 127 sort after it
}

TEST(PathPieces, FollowTheLastDelimiter) {
  EXPECT_EQ(ExtractFilePath("C:\\Icons\\a.ico"), "C:\\Icons\\");
  EXPECT_EQ(ExtractFilePath("a.ico"), "");
  EXPECT_EQ(ExtractFilePath("C:a.ico"), "C:");
  EXPECT_EQ(ExtractFileName("C:\\Icons\\Star.ICO"), "Star.ICO");
  EXPECT_EQ(ExtractFileExt("C:\\x.y\\file"), "");
  EXPECT_EQ(ExtractFileExt("C:\\x\\file.tar.gz"), ".gz");
  EXPECT_EQ(ChangeFileExt("Nature.dat", ""), "Nature");
  EXPECT_EQ(IncludeTrailingBackslash("C:\\a"), "C:\\a\\");
  EXPECT_EQ(IncludeTrailingBackslash("C:\\a\\"), "C:\\a\\");
}

TEST(SplitCommandLine, QuotesGroupBlanksAndAreRemoved) {
  auto items = SplitCommandLine("Zelvane.exe  \"C:\\My Pictures\\a b.jpg\" C:\\x.png \"\"  c\"d e\"f");
  ASSERT_EQ(items.size(), 5u);
  EXPECT_EQ(items[1], "C:\\My Pictures\\a b.jpg");
  EXPECT_EQ(items[2], "C:\\x.png");
  EXPECT_EQ(items[3], "");
  EXPECT_EQ(items[4], "cd ef");
}

TEST(SplitLines, AcceptsAnyLineEndAndNoEntryForAFinalBreak) {
  EXPECT_EQ(SplitLines("a\r\nb\nc\rd\r\n"), (std::vector<std::string>{"a", "b", "c", "d"}));
  EXPECT_EQ(SplitLines("a\n\nb"), (std::vector<std::string>{"a", "", "b"}));
  EXPECT_TRUE(SplitLines("").empty());
}

TEST(CaseRules, CompareOnlyLettersWithoutCase) {
  EXPECT_TRUE(SameText("Nature", "NATURE"));
  EXPECT_FALSE(SameText("Nature", "Natures"));
  EXPECT_LT(CompareText("apple", "Banana"), 0);
  EXPECT_EQ(CompareText("C:\\A.jpg", "c:\\a.JPG"), 0);
}

}  // namespace
}  // namespace zel
