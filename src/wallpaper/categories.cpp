// Categories: the list files in the WallCat folder, the category list, loading a category
// into WList and the thumbnail view, adding and removing pictures.
#include <exception>
#include <thread>

#include "core/error.h"
#include "core/files.h"
#include "core/seams.h"
#include "core/text.h"
#include "imaging/thumbnail.h"
#include "ui/prompts.h"
#include "wallpaper/wallpaper_page.h"

namespace zel::wallpaper {

namespace {
constexpr char kNoCategory[] = "Please Add && Select a Category First!";

// Makes a thumbnail while the window keeps answering: the picture is decoded on a helper
// thread (one at a time, nothing shared but the path and the result) and this thread handles
// its messages until the thumbnail is ready. A large photo takes up to a second or two to
// decode; the window must not stop for it. A picture that cannot be read gives an empty one.
std::shared_ptr<const img::Image> ThumbnailAnswering(const std::string& path, int side, const ui::Widget& view) {
  auto thumbnail = std::make_shared<img::Image>();
  HANDLE ready = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  std::thread decoder([&] {
    try {
      *thumbnail = img::LoadThumbnail(path, side);
    } catch (...) {
      *thumbnail = img::Image();
    }
    SetEvent(ready);
  });
  // Once the window is gone (the program is closing) nothing is left to answer for.
  while (view.hwnd() && WaitForSingleObject(ready, 0) != WAIT_OBJECT_0) {
    MsgWaitForMultipleObjects(1, &ready, FALSE, INFINITE, QS_ALLINPUT);
    ui::ProcessMessages();
  }
  decoder.join();
  CloseHandle(ready);
  return thumbnail;
}

// A file's size and time of last write; false when it does not exist as a file.
bool FileStamp(const std::string& path, uint64_t& size, uint64_t& written) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data) ||
      (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
    return false;
  size = (uint64_t(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
  written = (uint64_t(data.ftLastWriteTime.dwHighDateTime) << 32) | data.ftLastWriteTime.dwLowDateTime;
  return true;
}
}  // namespace

std::string WallpaperPage::CategoryFile(const std::string& name) const {
  return appDir_ + "WallCat\\" + name + ".dat";
}

void WallpaperPage::SaveList(const std::string& category, const CategoryList& list) const {
  std::string path = CategoryFile(category);
  // A name with a folder separator or a drive would put the file outside the category folder.
  if (!IsPlainCategoryName(category))
    throw Error(Format("Cannot create file \"%s\". %s", path.c_str(), SystemErrorText(ERROR_INVALID_NAME).c_str()));
  WriteFileReplacing(path, list.SaveToText());
}

void WallpaperPage::SelectCategoryNamed(const std::string& name) {
  cmbCat.SetItemIndex(cmbCat.IndexOfText(name));
  SelectCategory();
}

void WallpaperPage::SetCategoryControlsEnabled(bool enabled) {
  for (ui::Widget* w : std::initializer_list<ui::Widget*>{&cmbCat, &ctAdd, &ctRemove, &ctRename, &BitBtn2, &BitBtn3})
    w->SetEnabled(enabled);
}

void WallpaperPage::ReadCategory() {
  cmbCat.Clear();
  std::string folder = appDir_ + "WallCat";
  if (Trim(folder).empty()) return;
  for (const std::string& name : FindFiles(folder, "*.dat")) cmbCat.Add(ChangeFileExt(name, ""));
}

void WallpaperPage::SelectCategory() {
  // The message loop runs between thumbnails, so this may be entered again (a drop, an
  // activation of the window); the newest load wins and an older one stops where it is.
  const unsigned generation = ++loadGeneration_;
  WPList.Clear();
  SetCategoryControlsEnabled(false);
  ++loadDepth_;
  struct Done {
    WallpaperPage& page;
    ~Done() {
      --page.loadDepth_;
      page.SetCategoryControlsEnabled(true);
    }
  } done{*this};

  std::string path = CategoryFile(cmbCat.Text());
  if (!FileExists(path)) return;
  WList.LoadFromText(ReadWholeFile(path));
  if (WList.Empty()) return;
  // Pictures that no longer exist leave the view; the file keeps them until its next write.
  for (int i = WList.Count() - 1; i >= 0; --i)
    if (!FileExists(WList[i])) WList.Delete(i);

  // Thumbnails of pictures that have not changed since they were last shown are reused.
  auto previous = std::move(thumbnails_);
  thumbnails_.clear();
  const int side = WPList.ThumbnailSide();
  for (int i = 0; i < WList.Count(); ++i) {
    const std::string file = WList[i];
    const std::string key = LowerCase(file);
    CachedThumbnail entry;
    FileStamp(file, entry.size, entry.written);
    entry.side = side;
    auto known = previous.find(key);
    if (known != previous.end() && known->second.size == entry.size && known->second.written == entry.written &&
        known->second.side == side) {
      entry.picture = known->second.picture;
    } else {
      entry.picture = ThumbnailAnswering(file, side, WPList);
      if (generation != loadGeneration_ || !WPList.hwnd()) return;
    }
    thumbnails_[key] = entry;
    // A picture that cannot be read keeps its place and shows as such. The item carries its
    // path from the start, so a rotation tick while the rest loads already finds it.
    WPList.Add(file, entry.picture);
    ui::ProcessMessages();
    if (generation != loadGeneration_ || !WPList.hwnd()) return;
  }
}

void WallpaperPage::ctAddClick() {
  std::string folder = appDir_ + "WallCat";
  if (!DirectoryExists(folder)) ForceDirectories(folder);
  std::string answer = services().prompts->InputBox(Owner(), "Add Category", "Type Category Name !", "");
  if (Trim(answer).empty()) return;
  if (!DirectoryExists(folder)) ForceDirectories(folder);
  // A name that is taken selects that category; writing an empty list would wipe it.
  if (IsPlainCategoryName(answer) && FileExists(CategoryFile(answer))) {
    // Said before selecting: closing the message re-activates the window.
    services().prompts->Message(Owner(), Format("The category \"%s\" already exists.", Trim(answer).c_str()),
                                MessageKind::Information);
  } else {
    SaveList(answer, CategoryList());
  }
  ReadCategory();
  SelectCategoryNamed(answer);
}

void WallpaperPage::ctRenameClick() {
  if (cmbCat.ItemIndex() < 0) return;
  const std::string category = cmbCat.Text();
  std::string answer = services().prompts->InputBox(Owner(), "Rename Category", "Type new Category name !", category);
  if (Trim(answer).empty()) return;
  // A taken name (or one that would leave the folder) makes the rename fail, silently.
  if (IsPlainCategoryName(answer)) RenameFileTo(CategoryFile(category), CategoryFile(answer));
  cmbCat.Clear();
  ReadCategory();
  SelectCategoryNamed(answer);
}

void WallpaperPage::ctRemoveClick() {
  if (cmbCat.ItemIndex() < 0) return;
  const std::string category = cmbCat.Text();
  if (!services().prompts->Confirm(Owner(), "Are you sure you want to remove this Category ?")) return;
  DeleteFileAt(CategoryFile(category));
  cmbCat.Clear();
  ReadCategory();
  if (cmbCat.Count() > 0) cmbCat.SetItemIndex(0);
  SelectCategory();
}

void WallpaperPage::BitBtn2Click() {
  if (cmbCat.ItemIndex() < 0) {
    services().prompts->Message(Owner(), kNoCategory, MessageKind::Information);
    return;
  }
  const std::string category = cmbCat.Text();
  dlgLSC.spec.hideReadOnly = true;
  dlgLSC.spec.multiSelect = true;
  dlgLSC.Execute(Owner());
  if (dlgLSC.files.empty()) return;
  // Closing the dialog re-activates the main window, which re-selects the category stored in
  // the settings. The pictures still go to the category the button was clicked for, on top
  // of that category's own list.
  if (!SameText(cmbCat.Text(), category)) {
    cmbCat.SetItemIndex(cmbCat.IndexOfText(category));
    std::string path = CategoryFile(category);
    WList.LoadFromText(FileExists(path) ? ReadWholeFile(path) : std::string());
    for (int i = WList.Count() - 1; i >= 0; --i)
      if (!FileExists(WList[i])) WList.Delete(i);
  }
  for (const std::string& file : dlgLSC.files) WList.Add(file);
  SaveList(category, WList);
  SelectCategory();
  dlgLSC.files.clear();
}

void WallpaperPage::BitBtn3Click() {
  if (cmbCat.ItemIndex() < 0) {
    services().prompts->Message(Owner(), kNoCategory, MessageKind::Information);
    return;
  }
  std::string path = WPList.FileName(WPList.Selected());
  int position = WList.IndexOf(path);
  // The file is written first: when that fails, the view and the list still show what it holds.
  CategoryList remaining = WList;
  remaining.Delete(position);
  SaveList(cmbCat.Text(), remaining);
  WList = std::move(remaining);
  WPList.Delete(position);
}

void WallpaperPage::WPListKeyDown(WORD key) {
  // While a category loads the view and the list are being built; no edits then.
  if (key == VK_DELETE && WPList.Selected() >= 0 && !Loading()) BitBtn3Click();
}

void WallpaperPage::WPListKeyPress(char& key) {
  if (key == '+' && !Loading()) BitBtn2Click();
}

void WallpaperPage::AddDroppedPath(const std::string& path) {
  if (WList.IndexOf(path) < 0 && IsDroppedPicture(path)) WList.Add(path);
  SaveList(cmbCat.Text(), WList);
}

}  // namespace zel::wallpaper
