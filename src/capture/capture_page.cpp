#include "capture/capture_page.h"

namespace zel::capture {

using ui::Glyph;
using ui::GlyphLayout;

void CapturePage::Build(ui::Panel& sheet) {
  previewArea.Create(sheet, {6, 6, 530, 474}, "", ui::kWhite, true);
  GroupBox1.Create(sheet, {544, 2, 153, 104}, " Capture Area ");
  GroupBox1.SetBold(true);
  scDesktop.Create(GroupBox1, {10, 22, 133, 32}, "Full Screen", Glyph::ScreenCapture, GlyphLayout::Left);
  scDesktop.SetFont({"MS Sans Serif", 8, false, false, false, ui::skin::kText});
  scDesktop.SetHint("Hotkey : Ctrl + F1");
  scActWindow.Create(GroupBox1, {10, 62, 133, 32}, "Active Window", Glyph::Image, GlyphLayout::Left);
  scActWindow.SetFont({"MS Sans Serif", 8, false, false, false, ui::skin::kText});
  scActWindow.SetHint("Hotkey : Alt + F1");
  GroupBox2.Create(sheet, {544, 110, 153, 60}, "");
  BitBtn22.Create(GroupBox2, {10, 16, 64, 34}, "Copy to \"Clipboard\"", Glyph::Copy, GlyphLayout::Only);
  BitBtn22.SetHint("Copy to \"Clipboard\"");
  BitBtn4.Create(GroupBox2, {80, 16, 64, 34}, "Save to File", Glyph::Save, GlyphLayout::Only);
  BitBtn4.SetHint("Save to File");
  GroupBox15.Create(sheet, {0, 486, 703, 49}, "", ui::skin::kFace, true);
  ui::CreateBand(band, Label12, GroupBox15, {2, 2, 160, 45}, "SCREEN CAPTURE", ui::Align::Centre);
}

}  // namespace zel::capture
