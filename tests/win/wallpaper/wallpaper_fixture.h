// The wallpaper page's test fixture: the real main window on the wallpaper page, a data folder
// with categories, pictures made to order, and the desktop values saved and restored.
#pragma once
#include <string>
#include <vector>

#include "core/files.h"
#include "core/registry.h"
#include "imaging/io.h"
#include "test_support.h"

namespace zel::test {

class WallpaperTest : public FrameTest {
 protected:
  void SetUp() override {
    FrameTest::SetUp();
    for (const char* name : {"Wallpaper", "TileWallpaper", "WallpaperStyle"})
      saved_.push_back({name, ReadCUString("Control Panel\\desktop", name)});
  }
  void TearDown() override {
    FrameTest::TearDown();
    for (const auto& [name, value] : saved_) WriteCUString("Control Panel\\desktop", name, value);
  }

  // Starts the main window and shows the wallpaper page.
  app::TfrmZelvane& StartOnPage() {
    auto& f = StartFrame();
    SendMessageA(f.spdWC.hwnd(), BM_CLICK, 0, 0);
    return f;
  }

  // A list file in WallCat, written as given.
  void WriteCategory(const std::string& name, const std::string& text) {
    ForceDirectories(appDir / "WallCat");
    WriteTextFile(appDir / ("WallCat\\" + name + ".dat"), text);
  }
  std::string ReadCategoryFile(const std::string& name) { return ReadTextFile(appDir / ("WallCat\\" + name + ".dat")); }

  // A picture of the given size in the pictures folder (the format follows the extension).
  std::string Picture(const std::string& name, int width = 40, int height = 30) {
    std::string path = pictures / name;
    img::Save(img::Image(width, height), path);
    return path;
  }

  void Settings(const std::string& text) { WriteTextFile(appDir / "Zelvane.ini", text); }

  // The user picks a category in the list.
  static void PickCategory(app::TfrmZelvane& f, const std::string& name) {
    auto& cmb = f.wallpaper.cmbCat;
    SendMessageA(cmb.hwnd(), CB_SETCURSEL, WPARAM(cmb.IndexOfText(name)), 0);
    SendMessageA(GetParent(cmb.hwnd()), WM_COMMAND, MAKEWPARAM(0, CBN_SELCHANGE), LPARAM(cmb.hwnd()));
  }

  // A click (or double-click) in the middle of a thumbnail's cell.
  static void ClickThumbnail(app::TfrmZelvane& f, int index, bool doubleClick = false) {
    HWND view = f.wallpaper.WPList.hwnd();
    ui::Rect c = f.wallpaper.WPList.model().CellRect(index);
    LPARAM at = MAKELPARAM(c.left + c.width / 2, c.top + c.height / 2);
    SendMessageA(view, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageA(view, WM_LBUTTONUP, 0, at);
    if (doubleClick) {
      SendMessageA(view, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
      SendMessageA(view, WM_LBUTTONUP, 0, at);
    }
  }

  static std::vector<std::string> ViewFiles(app::TfrmZelvane& f) {
    std::vector<std::string> files;
    for (int i = 0; i < f.wallpaper.WPList.Count(); ++i) files.push_back(f.wallpaper.WPList.FileName(i));
    return files;
  }

  // Width and height from a BMP file's header (0 x 0 when there is none).
  static std::pair<int, int> BitmapSize(const std::string& path) {
    if (!FileExists(path)) return {0, 0};
    std::string bytes = ReadTextFile(path);
    if (bytes.size() < 26 || bytes.compare(0, 2, "BM") != 0) return {0, 0};
    int32_t w = 0, h = 0;
    memcpy(&w, bytes.data() + 18, 4);
    memcpy(&h, bytes.data() + 22, 4);
    return {w, h < 0 ? -h : h};
  }

  static std::string Desktop(const char* name) { return ReadCUString("Control Panel\\desktop", name); }

  TempFolder pictures;

 private:
  std::vector<std::pair<std::string, std::string>> saved_;
};

}  // namespace zel::test
