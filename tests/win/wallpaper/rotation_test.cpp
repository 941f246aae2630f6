// The rotation: ticks in list order with wrap-around, setting a wallpaper by hand, the switch
// and the interval; the actions on the selected picture; the page surviving a restart.
#include "core/profile.h"
#include "wallpaper_fixture.h"

namespace zel::test {
namespace {

class WallpaperRotation : public WallpaperTest {
 protected:
  // Three pictures told apart by their widths: A 301, B 302, C 303 pixels.
  app::TfrmZelvane& StartWithThree() {
    for (int i = 0; i < 3; ++i) abc.push_back(Picture(std::string(1, char('A' + i)) + ".png", 301 + i, 200));
    WriteCategory("Nature", abc[2] + "\r\n" + abc[0] + "\r\n" + abc[1] + "\r\n");
    Settings("[Wallpaper Changer]\r\nLastCategory=Nature\r\n");
    return StartOnPage();
  }
  // Which of A, B, C is installed.
  static char Installed() {
    int width = BitmapSize(wallpaper::kWallpaperFile).first;
    return width >= 301 && width <= 303 ? char('A' + width - 301) : '?';
  }
  std::vector<std::string> abc;
};

TEST_F(WallpaperRotation, TicksSetThePicturesInListOrderAndWrapAround) {
  auto& f = StartWithThree();
  auto& page = f.wallpaper;
  std::string seen;
  for (int i = 0; i < 4; ++i) {
    page.WCTimerTimer();
    seen += Installed();
  }
  EXPECT_EQ(seen, "ABCA");

  // Double-clicking B sets it; the next tick sets C.
  ClickThumbnail(f, 1, true);
  EXPECT_EQ(Installed(), 'B');
  page.WCTimerTimer();
  EXPECT_EQ(Installed(), 'C');
  // After the last one by hand, the next tick starts again with the first.
  ClickThumbnail(f, 2, true);
  EXPECT_EQ(Installed(), 'C');
  page.WCTimerTimer();
  EXPECT_EQ(Installed(), 'A');
  // "Set as Wallpaper" does what the double-click does.
  ClickThumbnail(f, 1);
  SendMessageA(page.BitBtn21.hwnd(), BM_CLICK, 0, 0);
  EXPECT_EQ(Installed(), 'B');
  EXPECT_EQ(page.WallpaperIndex, 2);
  // With nothing selected, a double-click on empty space installs nothing and the rotation
  // goes on from the first picture.
  ui::Rect empty = page.WPList.model().CellRect(4);
  DeleteFileAt(wallpaper::kWallpaperFile);
  SendMessageA(page.WPList.hwnd(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(empty.left + 5, empty.top + 5));
  EXPECT_FALSE(FileExists(wallpaper::kWallpaperFile));
  EXPECT_EQ(page.WallpaperIndex, 0);

  // Removing pictures so that the position lies past the end: the next tick sets the first.
  page.WallpaperIndex = 2;
  ClickThumbnail(f, 2);
  SendMessageA(page.BitBtn3.hwnd(), BM_CLICK, 0, 0);
  page.WCTimerTimer();
  EXPECT_EQ(Installed(), 'A');
  // The style in effect is the one selected at the tick.
  page.cmbStyle.SetItemIndex(0);
  page.WCTimerTimer();
  EXPECT_EQ(Desktop("WallpaperStyle"), "0");

  // A tick with an empty view does nothing.
  PickCategory(f, "none");
  DeleteFileAt(wallpaper::kWallpaperFile);
  page.WCTimerTimer();
  EXPECT_FALSE(FileExists(wallpaper::kWallpaperFile));
  EXPECT_TRUE(fakes.prompts.Errors().empty());
}

TEST_F(WallpaperRotation, TheSwitchStartsAndStopsTheTimerAtTheInterval) {
  auto& f = StartOnPage();
  auto& page = f.wallpaper;
  EXPECT_TRUE(page.WCTimer.Enabled());
  EXPECT_EQ(page.WCTimer.Interval(), 23000u);
  SendMessageA(page.SpeedButton7.hwnd(), BM_CLICK, 0, 0);
  EXPECT_FALSE(page.SpeedButton7.Down());
  EXPECT_FALSE(page.WCTimer.Enabled());
  EXPECT_EQ(page.SpeedButton7.Text(), "OFF");
  EXPECT_EQ(page.SpeedButton7.Font().colour, RGB(255, 0, 0));
  // A new interval while off does not start the rotation.
  page.spInterval.SetText("7");
  EXPECT_EQ(page.WCTimer.Interval(), 7000u);
  EXPECT_FALSE(page.WCTimer.Enabled());
  SendMessageA(page.SpeedButton7.hwnd(), BM_CLICK, 0, 0);
  EXPECT_TRUE(page.WCTimer.Enabled());
  EXPECT_EQ(page.SpeedButton7.Text(), "ON");
  EXPECT_EQ(page.SpeedButton7.Font().colour, RGB(0, 128, 0));
  EXPECT_EQ(page.WCTimer.Interval(), 7000u);
}

TEST_F(WallpaperRotation, ActionsOnTheSelectedPicture) {
  auto& f = StartWithThree();
  auto& page = f.wallpaper;
  std::vector<std::string> sent;
  page.sendToLogon = [&](const std::string& path) { sent.push_back(path); };

  // Nothing selected: "Set as Logon Screen" does nothing; the menu passes an empty path on.
  SendMessageA(page.BitBtn20.hwnd(), BM_CLICK, 0, 0);
  EXPECT_TRUE(sent.empty());
  ASSERT_EQ(page.popWC.items.size(), 2u);
  EXPECT_EQ(page.popWC.items[0].caption, "View Image");
  EXPECT_EQ(page.popWC.items[1].caption, "Find Target");
  page.popWC.items[1].onClick();
  ASSERT_EQ(fakes.launcher.executed.size(), 1u);
  EXPECT_EQ(fakes.launcher.executed[0].parameters, "/select,\"\"");

  ClickThumbnail(f, 1);
  SendMessageA(page.BitBtn20.hwnd(), BM_CLICK, 0, 0);
  EXPECT_EQ(sent, std::vector<std::string>{abc[1]});
  page.popWC.items[0].onClick();
  page.popWC.items[1].onClick();
  ASSERT_EQ(fakes.launcher.executed.size(), 3u);
  const auto& view = fakes.launcher.executed[1];
  EXPECT_EQ(view.verb, "");
  EXPECT_EQ(view.file, abc[1]);
  EXPECT_EQ(view.parameters, "");
  EXPECT_EQ(view.directory, "");
  EXPECT_EQ(view.show, SW_SHOW);
  const auto& find = fakes.launcher.executed[2];
  EXPECT_EQ(find.verb, "");
  EXPECT_EQ(find.file, "explorer.exe");
  EXPECT_EQ(find.parameters, "/select,\"" + abc[1] + "\"");
  EXPECT_EQ(find.directory, "");
  EXPECT_EQ(find.show, SW_SHOW);
}

TEST_F(WallpaperRotation, TheCategoryIntervalAndSwitchSurviveARestart) {
  auto& f = StartWithThree();
  WriteCategory("Cities", abc[0] + "\r\n");
  f.FormActivate();
  PickCategory(f, "Cities");
  f.wallpaper.spInterval.SetText("42");
  SendMessageA(f.wallpaper.SpeedButton7.hwnd(), BM_CLICK, 0, 0);
  CloseFrame();

  auto& again = StartOnPage();
  EXPECT_EQ(again.wallpaper.cmbCat.Text(), "Cities");
  EXPECT_EQ(ViewFiles(again), std::vector<std::string>{abc[0]});
  EXPECT_EQ(again.wallpaper.spInterval.Value(), 42);
  EXPECT_FALSE(again.wallpaper.WCTimer.Enabled());
  EXPECT_EQ(again.wallpaper.SpeedButton7.Text(), "OFF");
}

}  // namespace
}  // namespace zel::test
