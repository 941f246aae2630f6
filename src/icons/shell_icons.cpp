// The "Shell32.dll" tab: overrides of the shell's icon slots under the Shell Icons key.
#include "core/registry.h"
#include "core/shell.h"
#include "core/text.h"
#include "icons/icon_location.h"
#include "icons/icons_page.h"
#include "ui/prompts.h"

namespace zel::icons {

using ui::Align;
using ui::Glyph;
using ui::GlyphLayout;

void IconsPage::BuildShellTab(ui::Panel& sheet) {
  AddLabel(sheet, {10, 13, 86, 16}, "Index :");
  SpinEdit1.Create(sheet, {100, 10, 60, 21}, "", true);
  SpinEdit1.SetEnabled(false);
  SpinEdit1.SetColour(ui::kLightGrey);
  AddLabel(sheet, {10, 40, 86, 16}, "Name :");
  icName.Create(sheet, {100, 37, 260, 21}, "", true);
  AddLabel(sheet, {10, 67, 86, 16}, "Icon Location :");
  icLoc.Create(sheet, {100, 64, 410, 21});
  shlBrowse.Create(sheet, {514, 64, 28, 21}, "...");

  Panel4.Create(AddFrame(sheet, {566, 6, 113, 86}), {1, 1, 113, 86}, "", ui::kWhite);
  Image1.Create(Panel4, {16, 12, 32, 32});
  Image2.Create(Panel4, {66, 12, 32, 32});
  AddLabel(Panel4, {6, 54, 52, 16}, "Before", false, Align::Centre);
  AddLabel(Panel4, {56, 54, 52, 16}, "After", false, Align::Centre);

  BitBtn16.Create(sheet, {100, 96, 100, 28}, "SET", Glyph::Apply, GlyphLayout::Left);
  BitBtn17.Create(sheet, {208, 96, 100, 28}, "RESET", Glyph::Reset, GlyphLayout::Left);

  nxShell.Create(sheet, {8, 134, 671, 327},
                 {{"Index", ui::ColumnKind::Number, 50, Align::Centre},
                  {"Label", ui::ColumnKind::Text, 200},
                  {"Icon Location", ui::ColumnKind::Text, 370}});

  nxShell.onSelectCell = [this](int, int) { nxShellSelectCell(); };
  BitBtn16.onClick = [this] { BitBtn16Click(); };
  BitBtn17.onClick = [this] { BitBtn17Click(); };
  shlBrowse.onClick = [this] { shlBrowseClick(); };
}

void IconsPage::ReadShell32() {
  nxShell.ClearRows();
  ui::GridUpdate suspended(nxShell);
  for (int i = 0; i < kShellIconSlots; ++i) {
    std::string slot = std::to_string(i);
    std::string location = ReadLMString(kShellIconsKey, slot);
    int row = nxShell.AddRow();
    nxShell.SetCell(0, row, slot);
    nxShell.SetCell(1, row, ShellIconName(i));
    nxShell.SetCell(2, row, location);
    ui::ProcessMessages();
  }
}

void IconsPage::nxShellSelectCell() {
  Image1.SetIcon(nullptr);
  Image2.SetIcon(nullptr);
  int row = nxShell.SelectedRow();
  if (row < 0) return;
  SpinEdit1.SetText(nxShell.Cell(0, row));
  icName.SetText(nxShell.Cell(1, row));
  icLoc.SetText(nxShell.Cell(2, row));
  // "Before": the system's own icon of the slot; "After": the override.
  Image1.SetIcon(ExtractIconFrom(kSystemShell32, StrToInt(SpinEdit1.Text())));
  ShowLocationIcon(Image2, icLoc.Text());
}

void IconsPage::BitBtn16Click() {
  std::string slot = SpinEdit1.Text();
  if (!ParseInteger(slot)) return;   // no slot selected yet
  // The box's text is stored as it stands; an empty box stores an empty override.
  WriteLMString(kShellIconsKey, slot, icLoc.Text());
  std::string stored = ReadLMString(kShellIconsKey, slot);
  int row = nxShell.FindRow(0, slot);
  if (row >= 0) nxShell.SetCell(2, row, stored);
  ShowLocationIcon(Image2, icLoc.Text());
}

void IconsPage::BitBtn17Click() {
  std::string slot = SpinEdit1.Text();
  if (!ParseInteger(slot)) return;
  DeleteRegValue(HKEY_LOCAL_MACHINE, kShellIconsKey, slot);
  std::string stored = ReadLMString(kShellIconsKey, slot);
  int row = nxShell.FindRow(0, slot);
  if (row >= 0) nxShell.SetCell(2, row, stored);
}

void IconsPage::shlBrowseClick() {
  if (!icLoc.Text().empty()) ICD.spec.initialDir = ExtractFilePath(icLoc.Text());
  ICD.Execute(Owner());
  // The dialog forgets the name at once, so that a later cancelled dialog finds none.
  std::string chosen = std::move(ICD.FileName);
  ICD.FileName.clear();
  if (chosen.empty()) return;
  icLoc.SetText(chosen);
  ShowLocationIcon(Image2, icLoc.Text());
}

}  // namespace zel::icons
