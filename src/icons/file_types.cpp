// The "File" tab: the icon of a file type, kept in the DefaultIcon key of the type that an
// extension names under HKEY_CLASSES_ROOT. Every extension naming the same type shares it.
#include "core/registry.h"
#include "core/shell.h"
#include "core/text.h"
#include "icons/icon_location.h"
#include "icons/icons_page.h"

namespace zel::icons {

using ui::Align;
using ui::Glyph;
using ui::GlyphLayout;

void IconsPage::BuildFileTab(ui::Panel& sheet) {
  AddLabel(sheet, {10, 13, 86, 16}, "Extension : ");
  fileEXT.Create(sheet, {100, 10, 120, 21}, "", true);
  fileEXT.SetEnabled(false);
  fileEXT.SetColour(ui::kLightGrey);
  AddLabel(sheet, {10, 40, 86, 16}, "Association :");
  fileASSOC.Create(sheet, {100, 37, 260, 21});
  fileASSOC.SetEnabled(false);
  fileASSOC.SetColour(ui::kLightGrey);
  AddLabel(sheet, {10, 67, 86, 16}, "Icon Location :");
  fileICLoc.Create(sheet, {100, 64, 410, 21});
  Button7.Create(sheet, {514, 64, 28, 21}, "...");
  AddLabel(sheet, {10, 94, 86, 16}, "Icon Index :");
  fileIDX.Create(sheet, {100, 91, 70, 21}, 0, 1000, 0);

  Panel7.Create(AddFrame(sheet, {600, 6, 69, 61}), {1, 1, 69, 61}, "", ui::kWhite);
  imgFile.Create(Panel7, {0, 0, 69, 61});

  fileSET.Create(sheet, {190, 89, 100, 28}, "SET", Glyph::Apply, GlyphLayout::Left);
  fileRESET.Create(sheet, {298, 89, 100, 28}, "RESET", Glyph::Reset, GlyphLayout::Left);

  // The load button lies over the empty grid until the file types are loaded.
  btnLoadFA.Create(sheet, {219, 249, 249, 97}, "Load \"File Association\" Data", Glyph::Load, GlyphLayout::Top);
  btnLoadFA.SetBold(true);
  nxFile.Create(sheet, {8, 134, 671, 327},
                {{"Extension", ui::ColumnKind::Text, 120},
                 {"Association", ui::ColumnKind::Text, 178},
                 {"Icon Location", ui::ColumnKind::Text, 360}});
  SetWindowPos(btnLoadFA.hwnd(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);

  btnLoadFA.onClick = [this] { LoadFA(); };
  nxFile.onSelectCell = [this](int, int) { nxFileSelectCell(); };
  fileSET.onClick = [this] { fileSETClick(); };
  fileRESET.onClick = [this] { fileRESETClick(); };
  Button7.onClick = [this] { Button7Click(); };
  fileICLoc.onChange = [this] { fileICLocChange(); };
  fileIDX.onChange = [this] { fileIDXChange(); };
}

void IconsPage::LoadFA() {
  // The load runs once: whatever happens, the grid is repainted and the button goes away.
  struct HideButton {
    ui::Button& button;
    ~HideButton() { button.SetVisible(false); }
  } hide{btnLoadFA};
  ui::GridUpdate suspended(nxFile);
  std::vector<std::string> names;
  ListRegSubKeys(HKEY_CLASSES_ROOT, "", names);
  for (auto it = names.rbegin(); it != names.rend(); ++it) {
    const std::string& ext = *it;
    if (ext.empty() || ext[0] != '.') continue;
    int row = nxFile.AddRow();
    nxFile.SetCell(0, row, ext);
    std::string association = ReadCRString(ext, "");
    nxFile.SetCell(1, row, association);
    // An extension without a type has no icon of its own to show.
    if (!association.empty()) nxFile.SetCell(2, row, ReadCRString(association + "\\DefaultIcon", ""));
  }
  nxFile.SortBy(0, true, ui::SortRule::CharacterCodes);
}

void IconsPage::nxFileSelectCell() {
  imgFile.SetIcon(nullptr);
  int row = nxFile.SelectedRow();
  if (row < 0) return;
  fileEXT.SetText(nxFile.Cell(0, row));
  fileASSOC.SetText(nxFile.Cell(1, row));
  fileICLoc.SetText(nxFile.Cell(2, row));
  // This tab keeps path and index apart; locations found in the registry are read leniently.
  IconLocation loc = ParseIconLocationLenient(fileICLoc.Text());
  if (loc.split) fileICLoc.SetText(loc.path);
  imgFile.SetIcon(ExtractIconFrom(loc.path, loc.index));
  fileIDX.SetValue(loc.index);   // a change of the number shown previews again (fileIDXChange)
}

void IconsPage::fileSETClick() {
  std::string association = fileASSOC.Text();
  if (association.empty()) return;
  std::string location = JoinIconLocation(fileICLoc.Text(), fileIDX.Text());
  WriteCRString(association + "\\DefaultIcon", "", location);
  std::string stored = ReadCRString(association + "\\DefaultIcon", "");
  int row = nxFile.FindRow(0, fileEXT.Text());
  if (row >= 0) nxFile.SetCell(2, row, stored);
  ShowLocationIcon(imgFile, location);
  NotifyAssociationsChanged();
}

void IconsPage::fileRESETClick() {
  std::string association = fileASSOC.Text();
  if (association.empty()) return;
  // The value is blanked, not deleted: the type keeps its DefaultIcon key.
  WriteCRString(association + "\\DefaultIcon", "", "");
  std::string stored = ReadCRString(association + "\\DefaultIcon", "");
  int row = nxFile.FindRow(0, fileEXT.Text());
  if (row >= 0) nxFile.SetCell(2, row, stored);
  ShowLocationIcon(imgFile, fileICLoc.Text());
  NotifyAssociationsChanged();
}

void IconsPage::Button7Click() {
  if (!fileICLoc.Text().empty()) ICD.spec.initialDir = ExtractFilePath(fileICLoc.Text());
  ICD.Execute(Owner());
  std::string chosen = std::move(ICD.FileName);
  ICD.FileName.clear();
  if (chosen.empty()) return;
  fileICLoc.SetText(chosen);
  fileIDX.SetValue(0);
  ShowLocationIcon(imgFile, JoinIconLocation(fileICLoc.Text(), fileIDX.Text()));
}

void IconsPage::fileICLocChange() {
  // Typing a path does not preview it; the index box does.
}

void IconsPage::fileIDXChange() { ShowLocationIcon(imgFile, JoinIconLocation(fileICLoc.Text(), fileIDX.Text())); }

}  // namespace zel::icons
