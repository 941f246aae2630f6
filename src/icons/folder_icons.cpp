// The "Folder" tab: a folder's own icon and info tip through its desktop.ini, the copy of an
// .ico file into the folder, and the attributes that make the shell read the file.
#include "core/files.h"
#include "core/profile.h"
#include "core/shell.h"
#include "core/text.h"
#include "icons/icon_location.h"
#include "icons/icons_page.h"

namespace zel::icons {

using ui::Align;

namespace {
constexpr char kSection[] = ".ShellClassInfo";
constexpr char kChanged[] =
    "Folder Icon Changed, please wait few seconds to see the changes!\r( Usually up to 30 Seconds )";
constexpr char kResetDone[] =
    "Folder Icon has been Resetted into Default, please wait few seconds to see the changes!\r( Usually up to 30 "
    "Seconds )";
constexpr char kNoFolder[] =
    "Please choose the folder whose icon you want to change first (\"Folder Location\" is empty).";
}  // namespace

void IconsPage::BuildFolderTab(ui::Panel& sheet) {
  AddLabel(sheet, {20, 31, 112, 16}, "Folder Location :", true);
  ficFolder.Create(sheet, {136, 28, 400, 21});
  Button5.Create(sheet, {540, 28, 28, 21}, "...");
  AddLabel(sheet, {20, 65, 112, 16}, "Icon Location :", true);
  ficIcon.Create(sheet, {136, 62, 400, 21}, true,
                 {"C:\\Windows\\System32\\Shell32.dll", "C:\\Windows\\system32\\imageres.dll",
                  "C:\\Windows\\System32\\Moricons.dll"});
  Button6.Create(sheet, {540, 62, 28, 21}, "....");
  AddLabel(sheet, {20, 99, 112, 16}, "Icon Index :", true);
  ficIndex.Create(sheet, {136, 96, 70, 21}, 0, 1000, 0);
  chkCopyIcon.Create(sheet, {220, 97, 316, 20}, "Copy Icon to Folder Location ( *.ICO Only )", true);
  AddLabel(sheet, {20, 133, 112, 16}, "Info Tip :", true);
  ficInfo.Create(sheet, {136, 130, 432, 21});

  Panel6.Create(AddFrame(sheet, {586, 28, 85, 69}), {1, 1, 85, 69}, "", ui::kWhite);
  ficICO.Create(Panel6, {0, 0, 85, 69});

  Bevel1.Create(sheet, {20, 170, 653, 10});
  Button1.Create(sheet, {136, 196, 210, 44}, "CHANGE FOLDER ICON");
  Button1.SetFont({"MS Sans Serif", 8, true, false, false, ui::kGreen});
  ficReset.Create(sheet, {358, 196, 210, 44}, "RESET FOLDER ICON");
  ficReset.SetFont({"MS Sans Serif", 8, true, false, false, RGB(0, 0, 255)});
  AddLabel(sheet, {136, 256, 432, 16}, "Tip: a folder dropped on this window while this page shows is chosen here.")
      .SetFontColour(ui::skin::kDisabledText);

  Button1.onClick = [this] { Button32Click(); };
  Button5.onClick = [this] { Button5Click(); };
  Button6.onClick = [this] { Button6Click(); };
  ficIcon.onChange = [this] { ficIconChange(); };
  ficIndex.onChange = [this] { ficIndexChange(); };
  ficReset.onClick = [this] { ficResetClick(); };
}

void IconsPage::Button32Click() {
  std::string folder = ficFolder.Text();
  if (folder.empty()) {
    // Without a folder the settings file would land at the root of the current drive.
    services().prompts->Message(Owner(), kNoFolder, MessageKind::Information);
    return;
  }
  IniFile ini(folder + "\\desktop.ini");
  std::string icon = ficIcon.Text();
  std::string iconFile = icon;
  if (chkCopyIcon.Checked() && IsIcoFile(icon)) {
    // The folder refers to its own copy by name; a file of that name already there is kept.
    iconFile = ExtractFileName(icon);
    std::string copy = IncludeTrailingBackslash(folder) + iconFile;
    CopyFileNoOverwrite(icon, copy);
    SetFileAttributesTo(copy, FILE_ATTRIBUTE_HIDDEN);
  }
  ini.DeleteKey(kSection, "IconResource");
  ini.WriteString(kSection, "IconFile", iconFile);
  ini.WriteString(kSection, "IconIndex", std::to_string(ficIndex.Value()));
  ini.WriteString(kSection, "InfoTip", ficInfo.Text());
  ini.Flush();
  SetFileAttributesTo(folder, FILE_ATTRIBUTE_SYSTEM);
  SetFileAttributesTo(folder + "\\desktop.ini", FILE_ATTRIBUTE_HIDDEN);
  NotifyAssociationsChanged();
  services().prompts->Message(Owner(), kChanged, MessageKind::Information);
}

void IconsPage::Button5Click() {
  std::string start = ParentFolder(ficFolder.Text());
  if (!start.empty() && !DirectoryExists(start)) start.clear();
  std::string chosen;
  if (services().prompts->BrowseFolder(Owner(), "Select Directory", start, chosen)) ficFolder.SetText(chosen);
  LoadDesktopIni();
  // The preview follows the folder now chosen, as for a dropped folder, so that it never
  // keeps showing the icon of the folder chosen before.
  ficICO.SetIcon(nullptr);
  ficIndexChange();
}

void IconsPage::LoadDesktopIni() {
  IniFile ini(ficFolder.Text() + "\\desktop.ini");
  ficIcon.SetText(ini.ReadString(kSection, "IconFile", ""));
  ficIndex.SetValue(ini.ReadInteger(kSection, "IconIndex", 0));
  ficInfo.SetText(ini.ReadString(kSection, "InfoTip", ""));
}

void IconsPage::Button6Click() {
  // The dialog starts in the chosen folder, where a folder's own icons usually are.
  IcoDlg.spec.initialDir = ficFolder.Text();
  IcoDlg.Execute(Owner());
  if (IcoDlg.Files.empty()) return;
  ficIcon.SetText(IcoDlg.Files.front());
  ficIndex.SetValue(0);
  ficIndexChange();
}

void IconsPage::ficIconChange() {
  ficICO.SetIcon(nullptr);
  ficIndexChange();
}

void IconsPage::ficIndexChange() {
  // The preview is a convenience: nothing that goes wrong here is reported.
  try {
    std::string path = FolderIconPath(ficFolder.Text(), ficIcon.Text());
    if (!FileExists(path)) return;
    ficICO.SetIcon(ExtractIconFrom(path, ficIndex.Value()));
  } catch (const std::exception&) {
  }
}

void IconsPage::ficResetClick() {
  std::string folder = ficFolder.Text();
  if (folder.empty()) return;
  std::string ini = IncludeTrailingBackslash(folder) + "desktop.ini";
  if (!FileExists(ini)) return;
  DeleteFileAt(ini);
  NotifyAssociationsChanged();
  services().prompts->Message(Owner(), kResetDone, MessageKind::Information);
}

void IconsPage::DropFolder(const std::string& path) {
  ficFolder.SetText(path);
  ficICO.SetIcon(nullptr);
  LoadDesktopIni();
  ficIndexChange();
}

}  // namespace zel::icons
