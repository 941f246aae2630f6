// The Icon Customizer page: shell icons, drive icons and labels, folder icons, file types.
//
// One inner tab control holds four sheets; each sheet's controls and handlers live in their own
// file (shell_icons.cpp, drive_icons.cpp, folder_icons.cpp, file_types.cpp). The registry and
// the folder's desktop.ini are the only stores: nothing of this page goes into Zelvane.ini.
#pragma once
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "core/seams.h"
#include "ui/controls.h"
#include "ui/grid.h"

namespace zel::icons {

inline constexpr char kShellIconsKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Icons";
inline constexpr char kDriveIconsKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\DriveIcons\\";
// The system's own shell icons, previewed beside an override (a literal path, by design).
inline constexpr char kSystemShell32[] = "C:\\Windows\\System32\\Shell32.dll";

// An open-file dialog object: its settings (start folder, filter) persist between uses, and
// FileName holds the last chosen file until the page clears it.
struct FileDialog {
  OpenDialogSpec spec;
  std::string FileName;
  std::vector<std::string> Files;   // the files chosen by the last use; empty when cancelled
  bool Execute(HWND owner);
};

// An editable combo box whose text already is the picked item when its change event runs (the
// list reports a pick before it copies the item into the edit part).
class PickEdit : public ui::ComboBox {
 protected:
  bool OnCommand(WORD code) override;
};

// Shows the icon an icon location names in `box` (the strict index rule: an index part that
// is not a whole number raises the conversion error and leaves the box as it was). The box
// releases the icon it showed before; nothing extracted leaves it empty.
void ShowLocationIcon(ui::PictureBox& box, const std::string& location);

class IconsPage {
 public:
  IconsPage();
  void Build(ui::Panel& sheet);

  // Fill the shell-icon and drive grids from the registry (at start-up).
  void ReadShell32();
  void ReadDriveICO();
  // A folder dropped on the window while this page shows becomes the folder-icon target.
  void DropFolder(const std::string& path);

  // "Shell32.dll" tab.
  void nxShellSelectCell();
  void BitBtn16Click();   // SET
  void BitBtn17Click();   // RESET
  void shlBrowseClick();

  // "Drive" tab.
  void nxDriveSelectCell();
  void BitBtn18Click();   // SET
  void BitBtn19Click();   // RESET
  void icdBrowseClick();

  // "Folder" tab.
  void Button32Click();   // CHANGE FOLDER ICON
  void Button5Click();    // choose the folder
  void Button6Click();    // choose the icon file
  void ficIconChange();
  void ficIndexChange();
  void ficResetClick();
  void LoadDesktopIni();

  // "File" tab.
  void LoadFA();
  void nxFileSelectCell();
  void fileSETClick();
  void fileRESETClick();
  void Button7Click();
  void fileICLocChange();
  void fileIDXChange();

  ui::Panel band;
  ui::Label title;
  ui::PageControl PageControl4;
  ui::Panel* TabSheet1 = nullptr;   // "Shell32.dll"
  ui::Panel* TabSheet2 = nullptr;   // "Drive"
  ui::Panel* TabSheet5 = nullptr;   // "Folder"
  ui::Panel* TabSheet7 = nullptr;   // "File"

  FileDialog ICD;      // "Browse": icon files for the shell, drive and file-type tabs
  FileDialog IcoDlg;   // "Select Icon": the folder icon

  // "Shell32.dll"
  ui::Edit SpinEdit1, icName, icLoc;
  ui::Button shlBrowse, BitBtn16, BitBtn17;
  ui::Panel Panel4;
  ui::PictureBox Image1, Image2;
  ui::Grid nxShell;

  // "Drive"
  ui::Edit icdLetter, icdLabel, icdLoc;
  ui::Button icdBrowse, BitBtn18, BitBtn19;
  ui::Panel Panel5;
  ui::PictureBox Image4;
  ui::Grid nxDrive;

  // "Folder"
  ui::Edit ficFolder, ficInfo;
  PickEdit ficIcon;
  ui::SpinEdit ficIndex;
  ui::Button Button5, Button6, Button1, ficReset;
  ui::CheckBox chkCopyIcon;
  ui::Panel Panel6;
  ui::PictureBox ficICO;
  ui::Bevel Bevel1;

  // "File"
  ui::Edit fileEXT, fileASSOC, fileICLoc;
  ui::SpinEdit fileIDX;
  ui::Button Button7, fileSET, fileRESET, btnLoadFA;
  ui::Panel Panel7;
  ui::PictureBox imgFile;
  ui::Grid nxFile;

 private:
  void BuildShellTab(ui::Panel& sheet);
  void BuildDriveTab(ui::Panel& sheet);
  void BuildFolderTab(ui::Panel& sheet);
  void BuildFileTab(ui::Panel& sheet);
  // The drive row showing `shown` ("D:") takes the label and icon the registry now holds.
  void ShowStoredDrive(const std::string& shown);
  // A caption beside a field; the page keeps the labels alive.
  ui::Label& AddLabel(ui::Panel& sheet, const ui::Rect& r, const std::string& caption, bool bold = false,
                      ui::Align align = ui::Align::Left);
  // A thin frame around a preview well; returns the frame to create the well in.
  ui::Panel& AddFrame(ui::Panel& sheet, const ui::Rect& well);
  HWND Owner() const;

  std::vector<std::unique_ptr<ui::Label>> labels_;
  std::vector<std::unique_ptr<ui::Panel>> frames_;
};

}  // namespace zel::icons
