// The "Drive" tab: icon and label overrides of the drive letters A to Z under DriveIcons.
#include "core/registry.h"
#include "core/text.h"
#include "icons/icon_location.h"
#include "icons/icons_page.h"
#include "ui/prompts.h"

namespace zel::icons {

using ui::Align;
using ui::Glyph;
using ui::GlyphLayout;

void IconsPage::BuildDriveTab(ui::Panel& sheet) {
  AddLabel(sheet, {10, 13, 86, 16}, "Drive Letter : ");
  icdLetter.Create(sheet, {100, 10, 60, 21}, "", true);
  icdLetter.SetEnabled(false);
  icdLetter.SetColour(ui::kLightGrey);
  AddLabel(sheet, {10, 40, 86, 16}, "Label :");
  icdLabel.Create(sheet, {100, 37, 260, 21});
  AddLabel(sheet, {10, 67, 86, 16}, "Icon Location :");
  icdLoc.Create(sheet, {100, 64, 410, 21});
  icdBrowse.Create(sheet, {514, 64, 28, 21}, "...");

  Panel5.Create(AddFrame(sheet, {600, 6, 69, 61}), {1, 1, 69, 61}, "", ui::kWhite);
  Image4.Create(Panel5, {0, 0, 69, 61});

  BitBtn18.Create(sheet, {100, 96, 100, 28}, "SET", Glyph::Apply, GlyphLayout::Left);
  BitBtn19.Create(sheet, {208, 96, 100, 28}, "RESET", Glyph::Reset, GlyphLayout::Left);

  nxDrive.Create(sheet, {8, 134, 671, 327},
                 // "Drive Letter" is a little wider than its letters need, so that the header
                 // reads in full with the fonts that stand in for MS Sans Serif.
                 {{"Drive Letter", ui::ColumnKind::Text, 86, Align::Centre},
                  {"Label", ui::ColumnKind::Text, 178},
                  {"Icon Location", ui::ColumnKind::Text, 378}});

  nxDrive.onSelectCell = [this](int, int) { nxDriveSelectCell(); };
  BitBtn18.onClick = [this] { BitBtn18Click(); };
  BitBtn19.onClick = [this] { BitBtn19Click(); };
  icdBrowse.onClick = [this] { icdBrowseClick(); };
}

void IconsPage::ReadDriveICO() {
  nxDrive.ClearRows();
  ui::GridUpdate suspended(nxDrive);
  for (char letter = 'A'; letter <= 'Z'; ++letter) {
    std::string key = kDriveIconsKey + std::string(1, letter);
    std::string icon = ReadLMString(key + "\\DefaultIcon", "");
    std::string label = ReadLMString(key + "\\DefaultLabel", "");
    int row = nxDrive.AddRow();
    nxDrive.SetCell(0, row, std::string(1, letter) + ":");
    nxDrive.SetCell(1, row, label);
    nxDrive.SetCell(2, row, icon);
    ui::ProcessMessages();
  }
}

void IconsPage::nxDriveSelectCell() {
  Image4.SetIcon(nullptr);
  int row = nxDrive.SelectedRow();
  if (row < 0) return;
  icdLetter.SetText(nxDrive.Cell(0, row));
  icdLabel.SetText(nxDrive.Cell(1, row));
  icdLoc.SetText(nxDrive.Cell(2, row));
  ShowLocationIcon(Image4, icdLoc.Text());
}

void IconsPage::BitBtn18Click() {
  std::string shown = icdLetter.Text();
  if (shown.empty()) return;   // no drive selected yet
  // Everything below runs under one silent guard: without write access to the machine's keys
  // (or with an icon location whose index is not a number) the handler just stops.
  try {
    std::string key = kDriveIconsKey + shown.substr(0, 1);
    MakeRegKey(HKEY_LOCAL_MACHINE, key);
    MakeRegKey(HKEY_LOCAL_MACHINE, key + "\\DefaultLabel");
    MakeRegKey(HKEY_LOCAL_MACHINE, key + "\\DefaultIcon");
    WriteLMString(key + "\\DefaultLabel", "", icdLabel.Text());
    WriteLMString(key + "\\DefaultIcon", "", icdLoc.Text());
    ShowStoredDrive(shown);
    ShowLocationIcon(Image4, icdLoc.Text());
  } catch (const std::exception&) {
  }
}

void IconsPage::BitBtn19Click() {
  std::string shown = icdLetter.Text();
  if (shown.empty()) return;
  std::string key = kDriveIconsKey + shown.substr(0, 1);
  DeleteRegKey(HKEY_LOCAL_MACHINE, key);
  ShowStoredDrive(shown);
}

void IconsPage::ShowStoredDrive(const std::string& shown) {
  std::string key = kDriveIconsKey + shown.substr(0, 1);
  std::string label = ReadLMString(key + "\\DefaultLabel", "");
  std::string icon = ReadLMString(key + "\\DefaultIcon", "");
  int row = nxDrive.FindRow(0, shown);
  if (row >= 0) {
    nxDrive.SetCell(1, row, label);
    nxDrive.SetCell(2, row, icon);
  }
}

void IconsPage::icdBrowseClick() {
  if (!icdLoc.Text().empty()) ICD.spec.initialDir = ExtractFilePath(icdLoc.Text());
  ICD.Execute(Owner());
  std::string chosen = std::move(ICD.FileName);
  ICD.FileName.clear();
  if (chosen.empty()) return;
  icdLoc.SetText(chosen);
  ShowLocationIcon(Image4, icdLoc.Text());
}

}  // namespace zel::icons
