#include "icons/icons_page.h"

namespace zel::icons {

void IconsPage::Build(ui::Panel& sheet) {
  ui::CreateBand(band, title, sheet, {0, 0, 703, 28}, "ICON CUSTOMIZER");
  PageControl4.Create(sheet, {4, 32, 695, 499}, true, 100, 20);
  TabSheet1 = &PageControl4.AddSheet("Shell32.dll");
  TabSheet2 = &PageControl4.AddSheet("Drive");
  TabSheet5 = &PageControl4.AddSheet("Folder");
  TabSheet7 = &PageControl4.AddSheet("File");
  PageControl4.SetActivePage(0);
}

void IconsPage::ReadShell32() {
  // Filled in by the shell icon overrides.
}

void IconsPage::ReadDriveICO() {
  // Filled in by the drive icons.
}

void IconsPage::DropFolder(const std::string& path) {
  // Filled in by the folder icons.
}

}  // namespace zel::icons
