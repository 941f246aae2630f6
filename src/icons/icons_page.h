// The Icon Customizer page: shell icons, drive icons and labels, folder icons, file types.
#pragma once
#include "ui/controls.h"

namespace zel::icons {

class IconsPage {
 public:
  void Build(ui::Panel& sheet);

  // Fill the shell-icon and drive grids from the registry (at start-up).
  void ReadShell32();
  void ReadDriveICO();
  // A folder dropped on the window while this page shows becomes the folder-icon target.
  void DropFolder(const std::string& path);

  ui::Panel band;
  ui::Label title;
  ui::PageControl PageControl4;
  ui::Panel* TabSheet1 = nullptr;   // "Shell32.dll"
  ui::Panel* TabSheet2 = nullptr;   // "Drive"
  ui::Panel* TabSheet5 = nullptr;   // "Folder"
  ui::Panel* TabSheet7 = nullptr;   // "File"
};

}  // namespace zel::icons
