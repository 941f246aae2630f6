// Zelvane.ini: every reading rule, and writing at close.
#include "test_support.h"

#include "core/files.h"
#include "core/profile.h"

namespace zel::test {
namespace {

class Settings : public FrameTest {};

TEST_F(Settings, ReadingRulesAsOneTable) {
  struct Case {
    const char* ini;   // the file's text, nullptr for no file
    int interval;
    bool on;
    const char* category;
  } cases[] = {
      {nullptr, 23, true, ""},
      {"[Wallpaper Changer]\r\nInterval=5000\r\n", 3600, true, ""},
      {"[Wallpaper Changer]\r\nInterval=abc\r\n", 23, true, ""},
      {"[wallpaper changer]\r\ninterval=0x10\r\nStatus=2\r\n", 16, true, ""},
      {"[Wallpaper Changer]\r\nStatus=0\r\n", 23, false, ""},
      {"[Wallpaper Changer]\r\nStatus=yes\r\n", 23, true, ""},
      {"[Wallpaper Changer]\r\nInterval=-4\r\nLastCategory=nature\r\n", 0, true, "Nature"},
      {"[Wallpaper Changer]\r\nLastCategory=Missing\r\n", 23, true, ""},
  };
  ForceDirectories(appDir / "WallCat");
  WriteTextFile(appDir / "WallCat\\Nature.dat", "");
  WriteTextFile(appDir / "WallCat\\Cities.dat", "");
  auto& f = StartFrame();
  for (const auto& c : cases) {
    DeleteFileAt(appDir / "Zelvane.ini");
    if (c.ini) WriteTextFile(appDir / "Zelvane.ini", c.ini);
    f.FormActivate();
    EXPECT_EQ(f.wallpaper.spInterval.Value(), c.interval) << (c.ini ? c.ini : "no file");
    EXPECT_EQ(f.wallpaper.SpeedButton7.Down(), c.on) << (c.ini ? c.ini : "no file");
    EXPECT_EQ(f.wallpaper.WCTimer.Enabled(), c.on);
    EXPECT_EQ(f.wallpaper.cmbCat.Text(), c.category) << (c.ini ? c.ini : "no file");
  }
  EXPECT_EQ(f.wallpaper.SpeedButton7.Text(), "ON");
}

TEST_F(Settings, ClosingWritesTheControlsState) {
  ForceDirectories(appDir / "WallCat");
  WriteTextFile(appDir / "WallCat\\Nature.dat", "");
  auto& f = StartFrame();
  f.wallpaper.spInterval.SetText("45");
  f.wallpaper.SpeedButton7.Click();   // off
  f.wallpaper.cmbCat.SetItemIndex(0);
  CloseFrame();
  IniFile ini(appDir / "Zelvane.ini");
  EXPECT_EQ(ini.ReadString("Wallpaper Changer", "Interval", ""), "45");
  EXPECT_EQ(ini.ReadString("Wallpaper Changer", "Status", ""), "0");
  EXPECT_EQ(ini.ReadString("Wallpaper Changer", "LastCategory", ""), "Nature");
}

TEST_F(Settings, AnUnwritableFileIsReportedAndTheWindowStillCloses) {
  auto& f = StartFrame();
  HWND window = f.hwnd();
  // A folder in place of the settings file makes every write fail.
  ForceDirectories(appDir / "Zelvane.ini");
  f.Close();
  EXPECT_FALSE(IsWindow(window));
  ASSERT_EQ(fakes.prompts.Errors().size(), 1u);
  EXPECT_EQ(fakes.prompts.Errors()[0], "Unable to write to " + appDir.path() + "Zelvane.ini.");
  frame.reset();
}

}  // namespace
}  // namespace zel::test
