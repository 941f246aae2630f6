#include "icons/icons_page.h"

#include "core/shell.h"
#include "icons/icon_location.h"

namespace zel::icons {

bool FileDialog::Execute(HWND owner) {
  Files.clear();
  spec.fileName = FileName;   // the last chosen name shows again where the dialog keeps it
  bool chosen = services().prompts->OpenFiles(owner, spec, Files);
  if (chosen && !Files.empty()) FileName = Files.front();
  else Files.clear();
  return chosen;
}

bool PickEdit::OnCommand(WORD code) {
  if (code == CBN_SELCHANGE && ItemIndex() >= 0) SetText(Item(ItemIndex()));
  return ComboBox::OnCommand(code);
}

void ShowLocationIcon(ui::PictureBox& box, const std::string& location) {
  IconLocation loc = ParseIconLocation(location);
  box.SetIcon(ExtractIconFrom(loc.path, loc.index));
}

IconsPage::IconsPage() {
  ICD.spec.title = "Browse";
  ICD.spec.filter = "Application (*.exe)|*.exe|DLL File (*.dll)|*.dll|Icon (*.ico)|*.ico";
  ICD.spec.filterIndex = 3;
  ICD.spec.defaultExt = "*.ico";

  IcoDlg.spec.title = "Select Icon";
  IcoDlg.spec.filter = "Application (*.exe)|*.exe|DLL File (*.dll)|*.dll|Icon (*.*)|*.ico";
  IcoDlg.spec.filterIndex = 3;
}

HWND IconsPage::Owner() const { return band.hwnd() ? GetAncestor(band.hwnd(), GA_ROOT) : nullptr; }

ui::Label& IconsPage::AddLabel(ui::Panel& sheet, const ui::Rect& r, const std::string& caption, bool bold,
                               ui::Align align) {
  labels_.push_back(std::make_unique<ui::Label>());
  ui::Label& label = *labels_.back();
  label.Create(sheet, r, caption, align);
  if (bold) label.SetBold(true);
  return label;
}

ui::Panel& IconsPage::AddFrame(ui::Panel& sheet, const ui::Rect& well) {
  frames_.push_back(std::make_unique<ui::Panel>());
  ui::Panel& frame = *frames_.back();
  frame.Create(sheet, {well.left - 1, well.top - 1, well.width + 2, well.height + 2}, "", ui::skin::kButtonBorder);
  return frame;
}

void IconsPage::Build(ui::Panel& sheet) {
  ui::CreateBand(band, title, sheet, {0, 0, 703, 28}, "ICON CUSTOMIZER");
  PageControl4.Create(sheet, {4, 32, 695, 499}, true, 100, 20);
  TabSheet1 = &PageControl4.AddSheet("Shell32.dll");
  TabSheet2 = &PageControl4.AddSheet("Drive");
  TabSheet5 = &PageControl4.AddSheet("Folder");
  TabSheet7 = &PageControl4.AddSheet("File");
  BuildShellTab(*TabSheet1);
  BuildDriveTab(*TabSheet2);
  BuildFolderTab(*TabSheet5);
  BuildFileTab(*TabSheet7);
  PageControl4.SetActivePage(0);
}

}  // namespace zel::icons
