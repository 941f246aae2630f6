// Icon locations as every tab of the icon customizer reads them, the slot names, and the path
// rules of folder icons.
#include <gtest/gtest.h>

#include "core/error.h"
#include "icons/icon_location.h"

namespace zel::icons {
namespace {

TEST(IconLocation, SplitsOnlyAtAFirstCommaBeforeAMinusOrADigit) {
  struct Case {
    const char* text;
    const char* path;
    int32_t index;
    bool split;
  } cases[] = {
      {"C:\\Windows\\System32\\shell32.dll,3", "C:\\Windows\\System32\\shell32.dll", 3, true},
      {"imageres.dll,-5", "imageres.dll", -5, true},
      {"C:\\x.dll, 3", "C:\\x.dll, 3", 0, false},           // a space after the comma: no split
      {"C:\\x.dll,a3", "C:\\x.dll,a3", 0, false},
      {"C:\\x.dll,", "C:\\x.dll,", 0, false},               // nothing after the comma
      {"\"C:\\App\\app.exe\",1", "\"C:\\App\\app.exe\"", 1, true},  // quotes stay
      {"%SystemRoot%\\a.dll,2", "%SystemRoot%\\a.dll", 2, true},    // nothing expanded
      {"C:\\Icons\\disk.ico", "C:\\Icons\\disk.ico", 0, false},
      {"", "", 0, false},
  };
  for (const auto& c : cases) {
    IconLocation loc = ParseIconLocation(c.text);
    EXPECT_EQ(loc.path, c.path) << c.text;
    EXPECT_EQ(loc.index, c.index) << c.text;
    EXPECT_EQ(loc.split, c.split) << c.text;
  }
}

TEST(IconLocation, StrictReadingRaisesTheConversionErrorWithTheRest) {
  struct Case {
    const char* text;
    const char* rest;
  } cases[] = {
      {"shell32.dll,3,4", "3,4"}, {"C:\\App\\app.exe,2x", "2x"}, {"a.dll,-", "-"},
      {"a.dll,4 ", "4 "},         {"a.dll,0x10", "0x10"},        {"a.dll,99999999999", "99999999999"},
  };
  for (const auto& c : cases) {
    try {
      ParseIconLocation(c.text);
      ADD_FAILURE() << c.text;
    } catch (const Error& e) {
      EXPECT_EQ(std::string(e.what()), std::string("'") + c.rest + "' is not a valid integer value");
    }
  }
}

TEST(IconLocation, LenientReadingGivesIndexZeroAndStillSplits) {
  for (const char* text : {"C:\\App\\app.exe,2x", "C:\\App\\app.exe,3,4", "C:\\App\\app.exe,-"}) {
    IconLocation loc = ParseIconLocationLenient(text);
    EXPECT_EQ(loc.path, "C:\\App\\app.exe") << text;
    EXPECT_EQ(loc.index, 0) << text;
    EXPECT_TRUE(loc.split) << text;
  }
  EXPECT_EQ(ParseIconLocationLenient("C:\\Windows\\System32\\imageres.dll,-102").index, -102);
  EXPECT_EQ(ParseIconLocationLenient("").path, "");
  EXPECT_EQ(JoinIconLocation("C:\\Windows\\System32\\imageres.dll", "0"), "C:\\Windows\\System32\\imageres.dll,0");
}

TEST(ShellIconName, NamesSeventeenSlotsAndNoOthers) {
  EXPECT_EQ(ShellIconName(0), "Default File");
  EXPECT_EQ(ShellIconName(2), "EXEcutable");
  EXPECT_EQ(ShellIconName(11), "CDROM Drive");
  EXPECT_EQ(ShellIconName(76), "Live Folder Front (Win 7)");
  int named = 0;
  for (int i = -1; i <= kShellIconSlots; ++i) named += !ShellIconName(i).empty();
  EXPECT_EQ(named, 17);
  EXPECT_EQ(ShellIconName(9), "");
  EXPECT_EQ(ShellIconName(305), "");
}

TEST(FolderIconRules, RelativeNamesLieInTheFolderAndOnlyIcoFilesAreCopied) {
  EXPECT_EQ(FolderIconPath("E:\\Photos", "Star.ICO"), "E:\\Photos\\Star.ICO");
  EXPECT_EQ(FolderIconPath("E:\\Photos\\", "Star.ICO"), "E:\\Photos\\Star.ICO");
  EXPECT_EQ(FolderIconPath("E:\\Photos", "D:\\Icons\\Star.ICO"), "D:\\Icons\\Star.ICO");
  EXPECT_EQ(FolderIconPath("E:\\Photos", "sub\\a.ico"), "E:\\Photos\\sub\\a.ico");

  EXPECT_TRUE(IsIcoFile("D:\\Icons\\Star.ICO"));
  EXPECT_FALSE(IsIcoFile("C:\\Windows\\System32\\Shell32.dll"));
  EXPECT_FALSE(IsIcoFile("D:\\x.ico\\file"));
  EXPECT_FALSE(IsIcoFile("D:\\Icons\\Star.icon"));
}

TEST(FolderIconRules, ParentFolderKeepsTheBackslashOnlyAfterADriveLetter) {
  struct Case {
    const char* path;
    const char* parent;
  } cases[] = {
      {"C:\\Photos\\Trip", "C:\\Photos"}, {"C:\\Photos", "C:\\"},   {"C:\\Photos\\", "C:\\Photos"},
      {"C:\\", "C:\\"},                   {"Photos", ""},           {"\\\\srv\\share\\x", "\\\\srv\\share"},
      {"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(ParentFolder(c.path), c.parent) << c.path;
}

}  // namespace
}  // namespace zel::icons
