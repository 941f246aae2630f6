// The Wallpaper Changer page: categories of pictures, installation as the desktop wallpaper
// and the timed rotation.
//
// A category is a list file in the WallCat folder (see category_file.h). The selected
// category's paths are kept in WList and shown as thumbnails in WPList, item i of the view
// being entry i of the list. Every change made on the page is written to the list file at once.
#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <unordered_map>

#include "imaging/image.h"
#include "ui/controls.h"
#include "ui/picture_dialog.h"
#include "ui/thumb_view.h"
#include "wallpaper/category_file.h"

namespace zel::wallpaper {

// The bitmap every installed wallpaper is converted to. A fixed path: the desktop values
// always name this one file.
inline constexpr char kWallpaperFile[] = "C:\\Windows\\Zelvane-Wallpaper.bmp";

class WallpaperPage {
 public:
  WallpaperPage(const std::string& appDir, ui::PictureDialog& pictureDialog) : appDir_(appDir), dlgLSC(pictureDialog) {}
  void Build(ui::Panel& sheet);

  // Categories (categories.cpp).
  // Refills the category list from the WallCat folder.
  void ReadCategory();
  // Loads the category named by the category list into WList and the thumbnail view.
  void SelectCategory();
  void ctAddClick();
  void ctRenameClick();
  void ctRemoveClick();
  // Adds pictures chosen in the picture dialog to the selected category.
  void BitBtn2Click();
  // Removes the selected picture from the selected category (the file itself stays).
  void BitBtn3Click();
  void WPListKeyDown(WORD key);
  void WPListKeyPress(char& key);
  // A file dropped on the window (or named on the command line) while this page shows: a
  // picture joins the selected category; the list file is written either way.
  void AddDroppedPath(const std::string& path);

  // Installation (install.cpp): converts the picture to the wallpaper bitmap and makes it the
  // desktop wallpaper with the style of the style list's item `Style`. Always true.
  bool ApplyWallpaper(const std::string& FileName, uint8_t Style);

  // Rotation and the actions on the selected picture (rotation.cpp).
  void WCTimerTimer();
  // Sets the selected picture as the wallpaper; the rotation goes on after it.
  void WPListDblClick();
  // Brings the rotation timer and the switch's look in line with the switch.
  void SpeedButton7Click();
  // Applies the interval to the rotation timer.
  void spIntervalChange();
  void BitBtn20Click();
  void view1Click();
  void FindTarget1Click();

  // The main window changed size.
  void FormResize();

  // Installs a picture file as the logon background ("Set as Logon Screen"); set by the main window.
  std::function<void(const std::string& path)> sendToLogon;

  // Position of the next picture of the rotation.
  int32_t WallpaperIndex = 0;
  // The selected category's paths, sorted without regard to letter case.
  CategoryList WList;

  ui::Panel band;
  ui::Label Label18;
  ui::Label Label24;   // "Category :"
  ui::ComboBox cmbCat;
  ui::Button ctAdd, ctRemove, ctRename;
  ui::Label Label25;   // "Wallpaper List : "
  ui::Button BitBtn2, BitBtn3;   // add and remove pictures
  ui::ThumbView WPList;
  ui::PopupMenu popWC;
  ui::Label Label55;   // "Style : "
  ui::ComboBox cmbStyle;
  ui::Button BitBtn21;   // "Set as Wallpaper"
  ui::Button BitBtn20;   // "Set as Logon Screen"
  ui::Label Label26, Label27, Label28;
  ui::SpinEdit spInterval;
  ui::Button SpeedButton7;
  ui::Button BitBtn14;   // "Send to Tray"
  ui::Timer WCTimer;

  // True while SelectCategory fills the view.
  bool Loading() const { return loadDepth_ > 0; }

 private:
  std::string CategoryFile(const std::string& name) const;
  void SaveList(const std::string& category, const CategoryList& list) const;
  void SelectCategoryNamed(const std::string& name);
  void SetCategoryControlsEnabled(bool enabled);
  HWND Owner() const;

  const std::string& appDir_;
  // The thumbnails of the category last shown, by path in lower case, with the file's size,
  // time of last write and the thumbnail size they were made for. Every activation of the
  // window reloads the category; only pictures that changed are decoded again.
  struct CachedThumbnail {
    uint64_t size = 0, written = 0;
    int side = 0;
    std::shared_ptr<const img::Image> picture;
  };
  std::unordered_map<std::string, CachedThumbnail> thumbnails_;
  // The size of the picture last converted to the wallpaper bitmap (0 x 0: none yet).
  int pictureWidth_ = 0, pictureHeight_ = 0;
  unsigned loadGeneration_ = 0;
  int loadDepth_ = 0;

 public:
  ui::PictureDialog& dlgLSC;
};

}  // namespace zel::wallpaper
