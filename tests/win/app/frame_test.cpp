// The main window: start-up order, navigation, tray, further windows.
#include "test_support.h"

#include "core/registry.h"

namespace zel::test {
namespace {

class Frame : public FrameTest {};

TEST_F(Frame, StartsWithTheLogonPageAndTheExpectedFrame) {
  auto& f = StartFrame();
  EXPECT_EQ(f.Text(), "Zelvane");
  EXPECT_EQ(f.PageControl1.ActiveSheet(), f.shtLSC);
  EXPECT_TRUE(f.spdLSC.Down());
  EXPECT_EQ(f.side.title.Text(), "Zelvane");
  EXPECT_EQ(f.AppDir, appDir.path());
  EXPECT_TRUE(f.DoubleBuffered());
  EXPECT_EQ(f.capture.UndoLimit(), 50);
  EXPECT_EQ(f.side.pcHib.Hint(),
            "Hibernate\r( Note : if Hibernation mode was Disabled, your PC will be going to Sleep mode )");
  std::string home = f.side.btnHome.helpKeyword;
  EXPECT_TRUE(home == app::HomeAddresses[0] || home == app::HomeAddresses[1]) << home;
  EXPECT_EQ(ReadCUString("Software\\Kestrom", "19"), ExePathForTest());
  EXPECT_TRUE(fakes.prompts.Errors().empty());
  // Start captions before the first tick of the monitor.
  EXPECT_EQ(f.side.capRAM.Text(), "0%");
  EXPECT_EQ(f.side.lblToday.Text(), "-");
}

TEST_F(Frame, ToolSetButtonsSelectPagesByTag) {
  auto& f = StartFrame();
  struct Case {
    ui::Button& button;
    ui::Panel* sheet;
    const char* caption;
  } cases[] = {{f.spdSC, f.shtSC, "Screen Capture"},       {f.spdWC, f.shtWC, "Wallpaper Changer"},
               {f.SpeedButton2, f.shtExtras, "EXTRAS"},     {f.spdICus, f.shtICus, "Icon Customizer"},
               {f.spdLSC, f.shtLSC, "Logon Screen Changer"}};
  for (auto& c : cases) {
    SendMessageA(c.button.hwnd(), BM_CLICK, 0, 0);
    EXPECT_EQ(f.PageControl1.ActiveSheet(), c.sheet) << c.button.Text();
    EXPECT_EQ(f.PageControl1.ActiveSheet()->Text(), c.caption);
    EXPECT_TRUE(c.button.Down());
    int down = 0;
    for (ui::Button* b : {&f.spdICus, &f.spdLSC, &f.spdSC, &f.spdWC, &f.SpeedButton2}) down += b->Down();
    EXPECT_EQ(down, 1);
    EXPECT_TRUE(IsWindowVisible(c.sheet->hwnd()));
  }
  // A tag outside 0 to 4 changes nothing.
  f.spdSC.tag = 7;
  f.ToolSet_Select(f.spdSC);
  EXPECT_EQ(f.PageControl1.ActiveSheet(), f.shtLSC);
}

TEST_F(Frame, SendToTrayHidesAndTheTrayIconRestores) {
  auto& f = StartFrame();
  SendMessageA(f.wallpaper.BitBtn14.hwnd(), BM_CLICK, 0, 0);
  EXPECT_FALSE(IsWindowVisible(f.hwnd()));
  EXPECT_TRUE(f.TrayIconVisible());
  // A single click does nothing; a double-click of any button restores.
  SendMessageA(f.hwnd(), WM_APP + 1, 1, WM_LBUTTONUP);
  EXPECT_FALSE(IsWindowVisible(f.hwnd()));
  SendMessageA(f.hwnd(), WM_APP + 1, 1, WM_RBUTTONDBLCLK);
  EXPECT_TRUE(IsWindowVisible(f.hwnd()));
  EXPECT_FALSE(f.TrayIconVisible());
  // The second "Send to Tray" button (power-action timer) does the same.
  SendMessageA(f.extras.BitBtn23.hwnd(), BM_CLICK, 0, 0);
  EXPECT_FALSE(IsWindowVisible(f.hwnd()));
  SendMessageA(f.hwnd(), WM_APP + 1, 1, WM_LBUTTONDBLCLK);
  EXPECT_TRUE(IsWindowVisible(f.hwnd()));
}

TEST_F(Frame, TimersKeepRunningWhileTheWindowIsInTheTray) {
  auto& f = StartFrame();
  SendMessageA(f.wallpaper.BitBtn14.hwnd(), BM_CLICK, 0, 0);
  ASSERT_FALSE(IsWindowVisible(f.hwnd()));
  fakes.clock.tick = 90061001;   // 1 day 1 hour 1 minute 1 second
  auto ticked = [&] { return f.side.Label13.Text().rfind("1 Day(s) ", 0) == 0; };
  for (int i = 0; i < 100 && !ticked(); ++i) Pump(50);
  EXPECT_TRUE(ticked()) << f.side.Label13.Text();
}

TEST_F(Frame, ActivationFromAnotherWindowOfTheProgramReReadsTheSettings) {
  auto& f = StartFrame();
  f.wallpaper.spInterval.SetText("45");
  // Another window of the program takes the focus and closes, as a message box does.
  HWND other = CreateWindowExA(0, "STATIC", "other", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, f.hwnd(), nullptr,
                               GetModuleHandleA(nullptr), nullptr);
  SetActiveWindow(other);
  Pump(20);
  DestroyWindow(other);
  Pump(50);
  EXPECT_EQ(f.wallpaper.spInterval.Value(), 23);
}

TEST_F(Frame, DoubleClickOnThePictureOpensFurtherWindowsThatOnlyHideOnClose) {
  auto& f = StartFrame();
  f.IconDblClick();
  f.IconDblClick();
  ASSERT_EQ(f.FurtherWindows().size(), 2u);
  auto& second = *f.FurtherWindows()[0];
  EXPECT_TRUE(IsWindowVisible(second.hwnd()));
  EXPECT_EQ(GetWindow(second.hwnd(), GW_OWNER), f.hwnd());
  second.Close();
  EXPECT_TRUE(IsWindow(second.hwnd()));
  EXPECT_FALSE(IsWindowVisible(second.hwnd()));
}

TEST_F(Frame, ReminderOpensOnlyWhenTheSwitchIsOneOrEmpty) {
  // The reminder hook is exercised through the registry switch; any value other than "1"
  // or empty opens nothing, which this test pins down for "0".
  WriteCUString("Software\\Kestrom\\Support", "19", "0");
  StartFrame();
  EXPECT_TRUE(fakes.prompts.shown.empty());
}

}  // namespace
}  // namespace zel::test
