#include "wallpaper/wallpaper_page.h"

#include <algorithm>

#include "ui/form.h"

namespace zel::wallpaper {

using ui::Align;
using ui::Glyph;
using ui::GlyphLayout;

void WallpaperPage::Build(ui::Panel& sheet) {
  ui::CreateBand(band, Label18, sheet, {0, 0, 703, 28}, "WALLPAPER CHANGER");

  // Categories
  Label24.Create(sheet, {10, 42, 60, 16}, "Category :");
  cmbCat.Create(sheet, {72, 38, 220, 21}, false);
  cmbCat.onChange = [this] { SelectCategory(); };
  struct GlyphButton {
    ui::Button& button;
    ui::Rect rect;
    const char* hint;
    Glyph glyph;
  };
  GlyphButton glyphButtons[] = {{ctAdd, {298, 37, 26, 24}, "Add Category", Glyph::Add},
                                {ctRemove, {326, 37, 26, 24}, "Remove Category", Glyph::Remove},
                                {ctRename, {354, 37, 26, 24}, "Rename Category", Glyph::Rename},
                                {BitBtn2, {639, 69, 26, 24}, "Add Image(s)", Glyph::Add},
                                {BitBtn3, {667, 69, 26, 24}, "Remove selected Image from list", Glyph::Remove}};
  for (auto& g : glyphButtons) {
    g.button.Create(sheet, g.rect, g.hint, g.glyph, GlyphLayout::Only);
    g.button.SetHint(g.hint);
  }
  ctAdd.onClick = [this] { ctAddClick(); };
  ctRemove.onClick = [this] { ctRemoveClick(); };
  ctRename.onClick = [this] { ctRenameClick(); };
  BitBtn2.onClick = [this] { BitBtn2Click(); };
  BitBtn3.onClick = [this] { BitBtn3Click(); };

  // The pictures of the selected category
  Label25.Create(sheet, {10, 74, 120, 16}, "Wallpaper List : ");
  Label25.SetBold(true);
  WPList.Create(sheet, {10, 97, 683, 337}, 5);
  WPList.onDblClick = [this] { WPListDblClick(); };
  WPList.onKeyDown = [this](WORD key) { WPListKeyDown(key); };
  WPList.onKeyPress = [this](char& key) { WPListKeyPress(key); };
  popWC.items = {{"View Image", [this] { view1Click(); }}, {"Find Target", [this] { FindTarget1Click(); }}};
  WPList.popupMenu = &popWC;

  // Installation
  Label55.Create(sheet, {10, 449, 40, 16}, "Style : ");
  cmbStyle.Create(sheet, {52, 445, 130, 21}, false, {"Center", "Tile", "Stretch", "(Auto Select)"});
  cmbStyle.SetItemIndex(3);
  BitBtn21.Create(sheet, {393, 441, 148, 30}, "Set as Wallpaper", Glyph::Wallpaper, GlyphLayout::Left);
  BitBtn21.SetHint("Set selected Image as Wallpaper (You can also do this by \"Double-Clicking\" selected Image)");
  BitBtn21.onClick = [this] { WPListDblClick(); };
  BitBtn20.Create(sheet, {545, 441, 148, 30}, "Set as Logon Screen", Glyph::LogonScreen, GlyphLayout::Left);
  BitBtn20.SetHint("Set selected Image as \"Logon Screen\"");
  BitBtn20.onClick = [this] { BitBtn20Click(); };

  // Rotation
  Label26.Create(sheet, {10, 484, 56, 16}, "Interval : ");
  spInterval.Create(sheet, {66, 480, 64, 21}, 0, 3600, 23);
  spInterval.onChange = [this] { spIntervalChange(); };
  Label27.Create(sheet, {136, 484, 60, 16}, "Second(s)");
  Label28.Create(sheet, {214, 484, 46, 16}, "Status : ");
  SpeedButton7.Create(sheet, {262, 478, 60, 26}, "ON");
  SpeedButton7.SetGroup(1, true);
  SpeedButton7.SetDown(true);
  SpeedButton7.SetFont({"MS Sans Serif", 8, true, false, false, ui::kGreen});
  SpeedButton7.SetDownColours(RGB(222, 240, 222), ui::kInherit);
  SpeedButton7.onClick = [this] { SpeedButton7Click(); };
  BitBtn14.Create(sheet, {583, 476, 110, 30}, "Send to Tray", Glyph::Tray, GlyphLayout::Left);
  WCTimer.onTimer = [this] { WCTimerTimer(); };
}

void WallpaperPage::FormResize() {
  if (!WPList.hwnd()) return;
  RECT rc;
  GetWindowRect(WPList.hwnd(), &rc);
  WPList.SetColumns(std::max(1, int(rc.right - rc.left) / 120));
}

HWND WallpaperPage::Owner() const { return WPList.hwnd() ? GetAncestor(WPList.hwnd(), GA_ROOT) : nullptr; }

}  // namespace zel::wallpaper
