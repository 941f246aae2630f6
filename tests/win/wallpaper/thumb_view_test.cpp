// The thumbnail view on the real page: keys reach it through the window's dialog keys, the
// columns follow the window's width, the scroll bar follows the content.
#include "ui/prompts.h"
#include "wallpaper_fixture.h"

namespace zel::test {
namespace {

class ThumbView : public WallpaperTest {
 protected:
  app::TfrmZelvane& StartWithPictures(int count) {
    std::string text;
    for (int i = 0; i < count; ++i) text += Picture("p" + std::to_string(100 + i) + ".bmp", 64, 48) + "\r\n";
    WriteCategory("Many", text);
    Settings("[Wallpaper Changer]\r\nLastCategory=Many\r\n");
    return StartOnPage();
  }
  // A key pressed with the view focused, through the message loop as the user's would come.
  static void Key(ui::ThumbView& view, WORD vk, char ch = 0) {
    SetFocus(view.hwnd());
    PostMessageA(view.hwnd(), WM_KEYDOWN, vk, 1);
    if (ch) PostMessageA(view.hwnd(), WM_CHAR, WPARAM(static_cast<unsigned char>(ch)), 1);
    ui::ProcessMessages();
  }
};

TEST_F(ThumbView, ArrowAndPageKeysReachTheViewThroughTheWindowsDialogKeys) {
  auto& f = StartWithPictures(23);
  auto& view = f.wallpaper.WPList;
  ASSERT_EQ(view.Count(), 23);
  EXPECT_EQ(view.Columns(), 5);
  Key(view, VK_RIGHT);
  EXPECT_EQ(view.Selected(), 0);
  Key(view, VK_RIGHT);
  Key(view, VK_DOWN);
  EXPECT_EQ(view.Selected(), 6);
  Key(view, VK_END);
  EXPECT_EQ(view.Selected(), 22);
  // The last row came into view.
  SCROLLINFO si{sizeof(si), SIF_ALL};
  GetScrollInfo(view.hwnd(), SB_VERT, &si);
  EXPECT_EQ(si.nPos, view.model().MaxScroll());
  EXPECT_GT(si.nPos, 0);
  EXPECT_EQ(int(si.nPage), view.model().ClientHeight());
  Key(view, VK_PRIOR);
  EXPECT_EQ(view.Selected(), 22 - 5 * view.model().PageRows());
  Key(view, VK_HOME);
  EXPECT_EQ(view.Selected(), 0);
  EXPECT_EQ(view.model().ScrollPos(), 0);
  // The scroll bar's arrows move the content.
  SendMessageA(view.hwnd(), WM_VSCROLL, SB_LINEDOWN, 0);
  EXPECT_GT(view.model().ScrollPos(), 0);
  // A click on empty space clears the selection; "+" opens the picture dialog.
  SendMessageA(view.hwnd(), WM_VSCROLL, SB_BOTTOM, 0);
  ui::Rect after = view.model().CellRect(23);
  SendMessageA(view.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(after.left + 4, after.top + 4));
  EXPECT_EQ(view.Selected(), -1);
  Key(view, 0xBB /* VK_OEM_PLUS */, '+');
  EXPECT_EQ(fakes.prompts.openSpecs.size(), 1u);
}

TEST_F(ThumbView, ColumnsFollowTheWindowsWidth) {
  auto& f = StartWithPictures(3);
  auto& view = f.wallpaper.WPList;
  for (int width : {1400, 916, 1100}) {
    SetWindowPos(f.hwnd(), nullptr, 0, 0, width, 760, SWP_NOMOVE | SWP_NOZORDER);
    RECT rc;
    GetWindowRect(view.hwnd(), &rc);
    EXPECT_EQ(view.Columns(), (rc.right - rc.left) / 120) << width;
    // The cells still fill the client width.
    RECT client;
    GetClientRect(view.hwnd(), &client);
    EXPECT_EQ(view.model().CellRect(view.Columns() - 1).right(), client.right);
  }
}

}  // namespace
}  // namespace zel::test
