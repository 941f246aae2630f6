#include "logon/logon_page.h"

namespace zel::logon {

using ui::Glyph;
using ui::GlyphLayout;

void LogonPage::Build(ui::Panel& sheet) {
  ui::CreateBand(band, Label20, sheet, {0, 0, 703, 28}, "LOGON SCREEN CHANGER");
  picArea.Create(sheet, {6, 34, 691, 443}, "", ui::kWhite, true);
  Panel1.Create(sheet, {0, 483, 703, 52}, "", ui::skin::kFace, true);
  lscCPic.Create(Panel1, {10, 10, 140, 32}, "Choose Picture", Glyph::None, GlyphLayout::Left);
  lscApply.Create(Panel1, {158, 10, 110, 32}, "Apply", Glyph::None, GlyphLayout::Left);
  BitBtn1.Create(Panel1, {276, 10, 180, 32}, "Use default Logon Screen");
  lscTest.Create(Panel1, {464, 10, 100, 32}, "Test", Glyph::Test, GlyphLayout::Left);
}

void LogonPage::LoadLS() {
  // The picture view and the installed background file arrive with the logon tool.
}

}  // namespace zel::logon

namespace zel::logon {
void LogonPage::LoadPicture(const std::string& path) {
  // Filled in by the logon tool.
}

void LogonPage::lscApplyClick() {
  // Filled in by the logon tool.
}
}  // namespace zel::logon
