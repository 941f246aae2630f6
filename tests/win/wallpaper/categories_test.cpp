// Wallpaper categories on the real main window: loading a list file into the view, the
// category buttons, adding pictures through the picture dialog, the "+" key, removing
// pictures, and pictures dropped on the page.
#include "wallpaper_fixture.h"

#include <shellapi.h>
#include <shlobj.h>

#include <functional>

#include "ui/picture_dialog.h"

namespace zel::test {
namespace {

class WallpaperCategories : public WallpaperTest {};

// Runs an action once from inside the message loop, the first time the loop runs while `ready`
// holds: while a category loads, the window is answering. The first chance is a posted
// message, handled at the load's first turn of the loop however fast the load is; while
// `ready` does not hold yet, a timer tries again.
class InLoop {
 public:
  explicit InLoop(std::function<void()> action, std::function<bool()> ready = [] { return true; })
      : action_(std::move(action)), ready_(std::move(ready)) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = &Proc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "ZelInLoop";
    RegisterClassA(&wc);
    hwnd_ = CreateWindowA("ZelInLoop", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    SetWindowLongPtrA(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    PostMessageA(hwnd_, kTry, 0, 0);
  }
  ~InLoop() { DestroyWindow(hwnd_); }
  int runs = 0;

 private:
  static constexpr UINT kTry = WM_APP + 1;
  static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    auto* self = reinterpret_cast<InLoop*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if ((msg == kTry || msg == WM_TIMER) && self && self->runs == 0) {
      if (self->ready_()) {
        KillTimer(hwnd, 1);
        ++self->runs;
        self->action_();
      } else if (msg == kTry) {
        SetTimer(hwnd, 1, 1, nullptr);
      }
      return 0;
    }
    return DefWindowProcA(hwnd, msg, wp, lp);
  }
  std::function<void()> action_;
  std::function<bool()> ready_;
  HWND hwnd_;
};

TEST_F(WallpaperCategories, LoadsTheStoredCategorySortedAndLeavesItsFileAsItWas) {
  std::string b = Picture("b.bmp"), a = Picture("A.png"), c = Picture("c.gif");
  std::string broken = pictures / "broken.jpg";
  WriteTextFile(broken, "not a picture");
  // Unsorted, LF and CR line ends, an empty line, a picture that no longer exists.
  std::string text = b + "\n" + pictures / "gone.jpg" + "\r" + c + "\n\n" + broken + "\r\n" + a;
  WriteCategory("Nature", text);
  WriteCategory("Cities", "");
  WriteCategory("Secret", "");
  SetFileAttributesA((appDir / "WallCat\\Secret.dat").c_str(), FILE_ATTRIBUTE_HIDDEN);
  Settings("[Wallpaper Changer]\r\nLastCategory=nature\r\n");

  auto& f = StartOnPage();
  std::vector<std::string> names = f.wallpaper.cmbCat.Items();
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"Cities", "Nature", "Secret"}));
  EXPECT_EQ(f.wallpaper.cmbCat.Text(), "Nature");
  std::vector<std::string> expected{a, b, broken, c};
  EXPECT_EQ(ViewFiles(f), expected);
  EXPECT_EQ(f.wallpaper.WList.Items(), expected);
  EXPECT_TRUE(f.wallpaper.WPList.HasPicture(0));
  EXPECT_FALSE(f.wallpaper.WPList.HasPicture(2));   // shown as a picture that cannot be read
  EXPECT_EQ(ReadCategoryFile("Nature"), text);       // loading never rewrites the file
  EXPECT_TRUE(fakes.prompts.shown.empty());

  // While a category loads, the window answers before the view is complete, and the category
  // controls are disabled; afterwards they are enabled again.
  int countSeen = -1;
  bool categoryEnabled = true, addEnabled = true;
  {
    InLoop probe([&] {
      countSeen = f.wallpaper.WPList.Count();
      categoryEnabled = f.wallpaper.cmbCat.Enabled();
      addEnabled = f.wallpaper.BitBtn2.Enabled();
    });
    PickCategory(f, "Nature");
  }
  EXPECT_LT(countSeen, 4);
  EXPECT_FALSE(categoryEnabled);
  EXPECT_FALSE(addEnabled);
  for (ui::Widget* w : std::initializer_list<ui::Widget*>{&f.wallpaper.cmbCat, &f.wallpaper.ctAdd, &f.wallpaper.ctRemove,
                                                          &f.wallpaper.ctRename, &f.wallpaper.BitBtn2, &f.wallpaper.BitBtn3})
    EXPECT_TRUE(w->Enabled());

  // Every activation of the window reloads the category; unchanged pictures keep their
  // thumbnails, a changed one is made again.
  auto kept = f.wallpaper.WPList.Picture(0), changed = f.wallpaper.WPList.Picture(1);
  Picture("b.bmp", 80, 20);
  f.FormActivate();
  ASSERT_EQ(ViewFiles(f), expected);
  EXPECT_EQ(f.wallpaper.WPList.Picture(0), kept);
  EXPECT_NE(f.wallpaper.WPList.Picture(1), changed);
  EXPECT_EQ(f.wallpaper.WPList.Picture(1)->width(), 80);

  // A category without a list file shows nothing.
  DeleteFileAt(appDir / "WallCat\\Cities.dat");
  PickCategory(f, "Cities");
  EXPECT_EQ(f.wallpaper.WPList.Count(), 0);
}

TEST_F(WallpaperCategories, WhatHappensWhileALoadRunsCannotMixUpTheViewAndTheList) {
  std::string a = Picture("a.bmp"), b = Picture("b.bmp"), c = Picture("c.bmp");
  std::string text = a + "\r\n" + b + "\r\n" + c + "\r\n";
  WriteCategory("Nature", text);
  Settings("[Wallpaper Changer]\r\nLastCategory=Nature\r\n");
  auto& f = StartOnPage();
  // The window is activated again mid-load: the newer load replaces the older one.
  {
    InLoop reload([&] { f.FormActivate(); });
    PickCategory(f, "Nature");
    EXPECT_EQ(reload.runs, 1);
  }
  EXPECT_EQ(ViewFiles(f), (std::vector<std::string>{a, b, c}));
  EXPECT_EQ(f.wallpaper.WList.Items(), (std::vector<std::string>{a, b, c}));
  // The Delete and "+" keys wait until the view is complete.
  {
    InLoop keys(
        [&] {
          f.wallpaper.WPList.SetSelected(0);
          SendMessageA(f.wallpaper.WPList.hwnd(), WM_KEYDOWN, VK_DELETE, 0);
          SendMessageA(f.wallpaper.WPList.hwnd(), WM_CHAR, '+', 0);
        },
        [&] { return f.wallpaper.WPList.Count() > 0; });
    PickCategory(f, "Nature");
    EXPECT_EQ(keys.runs, 1);
  }
  EXPECT_EQ(ReadCategoryFile("Nature"), text);
  EXPECT_EQ(ViewFiles(f), (std::vector<std::string>{a, b, c}));
  EXPECT_TRUE(fakes.prompts.openSpecs.empty());
}

TEST_F(WallpaperCategories, AddRenameAndRemoveCategories) {
  std::string picture = Picture("keep.bmp");
  auto& f = StartOnPage();
  auto& page = f.wallpaper;
  auto click = [](ui::Button& b) { SendMessageA(b.hwnd(), BM_CLICK, 0, 0); };

  // Add: the folder is created on the way; a blank name does nothing.
  fakes.prompts.inputAnswers = {"   ", "Nature"};
  click(page.ctAdd);
  EXPECT_FALSE(FileExists(appDir / "WallCat\\.dat"));
  EXPECT_FALSE(FileExists(appDir / "WallCat\\   .dat"));
  click(page.ctAdd);
  ASSERT_EQ(fakes.prompts.shown.size(), 2u);
  EXPECT_EQ(fakes.prompts.shown[1].caption, "Add Category");
  EXPECT_EQ(fakes.prompts.shown[1].text, "Type Category Name !");
  EXPECT_EQ(ReadCategoryFile("Nature"), "");
  EXPECT_EQ(page.cmbCat.Text(), "Nature");

  // Adding a name that is taken keeps that category's list and selects it.
  WriteCategory("Nature", picture + "\r\n");
  fakes.prompts.inputAnswers = {"NATURE"};
  click(page.ctAdd);
  EXPECT_EQ(ReadCategoryFile("Nature"), picture + "\r\n");
  EXPECT_EQ(fakes.prompts.Messages().back(), "The category \"NATURE\" already exists.");
  EXPECT_EQ(page.cmbCat.Text(), "Nature");
  EXPECT_EQ(ViewFiles(f), std::vector<std::string>{picture});

  // Rename acts on the category selected when the button was clicked, although closing the
  // input box re-selects the stored category. A taken name leaves both files as they were.
  WriteCategory("Cities", "C:\\town.jpg\r\n");
  f.FormActivate();
  PickCategory(f, "Cities");
  fakes.prompts.inputAnswers = {"nature"};
  click(page.ctRename);
  EXPECT_EQ(fakes.prompts.shown.back().caption, "Rename Category");
  EXPECT_EQ(fakes.prompts.shown.back().text, "Type new Category name !");
  EXPECT_EQ(ReadCategoryFile("Cities"), "C:\\town.jpg\r\n");
  EXPECT_EQ(ReadCategoryFile("Nature"), picture + "\r\n");
  EXPECT_EQ(page.cmbCat.Text(), "Nature");
  PickCategory(f, "Cities");
  fakes.prompts.inputAnswers = {"Towns", "..\\Outside"};
  click(page.ctRename);
  EXPECT_FALSE(FileExists(appDir / "WallCat\\Cities.dat"));
  EXPECT_EQ(ReadCategoryFile("Towns"), "C:\\town.jpg\r\n");
  EXPECT_EQ(page.cmbCat.Text(), "Towns");
  // A name that leads out of the folder is refused like a taken one.
  click(page.ctRename);
  EXPECT_TRUE(FileExists(appDir / "WallCat\\Towns.dat"));
  EXPECT_FALSE(FileExists(appDir / "Outside.dat"));

  // Remove asks first; only the list file goes, never the pictures.
  PickCategory(f, "Nature");
  fakes.prompts.confirmAnswers = {false, true};
  click(page.ctRemove);
  EXPECT_EQ(fakes.prompts.shown.back().text, "Are you sure you want to remove this Category ?");
  EXPECT_TRUE(FileExists(appDir / "WallCat\\Nature.dat"));
  PickCategory(f, "Nature");   // closing the question re-selected the stored category (none)
  click(page.ctRemove);
  EXPECT_FALSE(FileExists(appDir / "WallCat\\Nature.dat"));
  EXPECT_TRUE(FileExists(picture));
  EXPECT_EQ(page.cmbCat.Items(), std::vector<std::string>{"Towns"});
  EXPECT_EQ(page.cmbCat.Text(), "Towns");

  // Removing the last category leaves nothing selected; picture buttons then refuse.
  fakes.prompts.confirmAnswers = {true};
  click(page.ctRemove);
  EXPECT_EQ(page.cmbCat.Count(), 0);
  EXPECT_EQ(page.WPList.Count(), 0);
  size_t before = fakes.prompts.shown.size();
  click(page.BitBtn2);
  click(page.BitBtn3);
  ASSERT_EQ(fakes.prompts.shown.size(), before + 2);
  EXPECT_EQ(fakes.prompts.shown[before].text, "Please Add && Select a Category First!");
  EXPECT_EQ(fakes.prompts.shown[before + 1].text, "Please Add && Select a Category First!");
  // Rename and remove with nothing selected do nothing.
  click(page.ctRename);
  click(page.ctRemove);
  EXPECT_EQ(fakes.prompts.shown.size(), before + 2);
}

TEST_F(WallpaperCategories, AddsChosenPicturesToTheCategoryTheButtonWasClickedFor) {
  std::string a = Picture("a.bmp"), b = Picture("b.bmp"), c = Picture("c.bmp");
  WriteCategory("Nature", b + "\r\n");
  WriteCategory("Other", c + "\r\n");
  // Closing the dialog re-activates the window, which re-selects the stored category "Other".
  Settings("[Wallpaper Changer]\r\nLastCategory=Other\r\n");
  auto& f = StartOnPage();
  PickCategory(f, "Nature");
  std::string bUpper = b.substr(0, b.size() - 5) + "B.BMP";
  fakes.prompts.openAnswers = {{c, bUpper, a}};
  SendMessageA(f.wallpaper.BitBtn2.hwnd(), BM_CLICK, 0, 0);

  ASSERT_EQ(fakes.prompts.openSpecs.size(), 1u);
  const OpenDialogSpec& spec = fakes.prompts.openSpecs[0];
  EXPECT_EQ(spec.title, "Browse Picture");
  EXPECT_TRUE(spec.multiSelect);
  EXPECT_TRUE(spec.hideReadOnly);
  EXPECT_EQ(spec.filterIndex, 1);
  EXPECT_EQ(spec.filter, ui::PictureFilter());
  EXPECT_EQ(ReadCategoryFile("Nature"), a + "\r\n" + b + "\r\n" + c + "\r\n");
  EXPECT_EQ(ReadCategoryFile("Other"), c + "\r\n");
  EXPECT_EQ(f.wallpaper.cmbCat.Text(), "Nature");
  EXPECT_EQ(ViewFiles(f), (std::vector<std::string>{a, b, c}));
  EXPECT_TRUE(f.wallpaper.dlgLSC.files.empty());

  // A cancelled dialog changes nothing; the "+" key opens it too.
  SendMessageA(f.wallpaper.WPList.hwnd(), WM_CHAR, '+', 0);
  EXPECT_EQ(fakes.prompts.openSpecs.size(), 2u);
  EXPECT_EQ(ReadCategoryFile("Nature"), a + "\r\n" + b + "\r\n" + c + "\r\n");
}

TEST_F(WallpaperCategories, TheFilterOffersWhatTheEngineReadsInTheDialogsOrder) {
  EXPECT_EQ(ui::PictureFilter(),
            "Common Graphic Files (*.tif;*.gif;*.jpg;*.pcx;*.bmp;*.ico;*.cur;*.png;*.wmf;*.emf;*.tga;*.pxm;*.wbmp;"
            "*.jp2;*.j2k;*.dcx;*.crw;*.psd;*.wdp)|*.tif;*.gif;*.jpg;*.pcx;*.bmp;*.ico;*.cur;*.png;*.wmf;*.emf;*.tga;"
            "*.pxm;*.wbmp;*.jp2;*.j2k;*.dcx;*.crw;*.psd;*.wdp"
            "|All Files (*.*)|*.*"
            "|TIFF Bitmap (*.tif;*.tiff)|*.tif;*.tiff"
            "|CompuServe Bitmap (*.gif)|*.gif"
            "|JPEG Bitmap (*.jpg;*.jpeg;*.jpe;*.jif)|*.jpg;*.jpeg;*.jpe;*.jif"
            "|PaintBrush (*.pcx)|*.pcx"
            "|Windows Bitmap (*.bmp;*.dib;*.rle)|*.bmp;*.dib;*.rle"
            "|Windows Icon (*.ico)|*.ico"
            "|Windows Cursor (*.cur)|*.cur"
            "|Portable Network Graphics (*.png)|*.png"
            "|Windows Metafile (*.wmf)|*.wmf"
            "|Enhanced Windows Metafile (*.emf)|*.emf"
            "|Targa Bitmap (*.tga;*.targa;*.vda;*.icb;*.vst;*.pix)|*.tga;*.targa;*.vda;*.icb;*.vst;*.pix"
            "|Portable Pixmap, GrayMap, BitMap (*.pxm;*.ppm;*.pgm;*.pbm)|*.pxm;*.ppm;*.pgm;*.pbm"
            "|Wireless Bitmap (*.wbmp)|*.wbmp"
            "|JPEG2000 (*.jp2)|*.jp2"
            "|JPEG2000 Code Stream (*.j2k;*.jpc;*.j2c)|*.j2k;*.jpc;*.j2c"
            "|Multipage PCX (*.dcx)|*.dcx"
            "|Camera RAW (*.crw;*.cr2;*.nef;*.raw;*.pef;*.raf;*.x3f;*.bay;*.orf;*.srf;*.mrw;*.dcr;*.sr2)|"
            "*.crw;*.cr2;*.nef;*.raw;*.pef;*.raf;*.x3f;*.bay;*.orf;*.srf;*.mrw;*.dcr;*.sr2"
            "|Photoshop PSD (*.psd)|*.psd"
            "|Microsoft HD Photo (*.wdp;*.hdp)|*.wdp;*.hdp");
}

TEST_F(WallpaperCategories, RemovesTheSelectedPictureByButtonAndDeleteKey) {
  std::string a = Picture("a.bmp"), b = Picture("b.bmp"), c = Picture("c.bmp");
  WriteCategory("Nature", a + "\r\n" + b + "\r\n" + c + "\r\n");
  Settings("[Wallpaper Changer]\r\nLastCategory=Nature\r\n");
  auto& f = StartOnPage();
  HWND view = f.wallpaper.WPList.hwnd();

  // Delete with nothing selected does nothing.
  SendMessageA(view, WM_KEYDOWN, VK_DELETE, 0);
  EXPECT_EQ(f.wallpaper.WPList.Count(), 3);

  ClickThumbnail(f, 1);
  EXPECT_EQ(f.wallpaper.WPList.Selected(), 1);
  SendMessageA(f.wallpaper.BitBtn3.hwnd(), BM_CLICK, 0, 0);
  EXPECT_EQ(ReadCategoryFile("Nature"), a + "\r\n" + c + "\r\n");
  EXPECT_EQ(ViewFiles(f), (std::vector<std::string>{a, c}));
  EXPECT_TRUE(FileExists(b));

  ClickThumbnail(f, 0);
  SendMessageA(view, WM_KEYDOWN, VK_DELETE, 0);
  EXPECT_EQ(ReadCategoryFile("Nature"), c + "\r\n");
  EXPECT_EQ(ViewFiles(f), std::vector<std::string>{c});

  // A list that cannot be written is reported, and the old list stays whole.
  ForceDirectories(appDir / "WallCat\\Nature.dat.tmp~");
  ClickThumbnail(f, 0);
  SendMessageA(f.wallpaper.BitBtn3.hwnd(), BM_CLICK, 0, 0);
  ASSERT_EQ(fakes.prompts.Errors().size(), 1u);
  EXPECT_EQ(fakes.prompts.Errors()[0].rfind("Cannot create file \"" + appDir.path() + "WallCat\\Nature.dat\". ", 0), 0u)
      << fakes.prompts.Errors()[0];
  EXPECT_EQ(ReadCategoryFile("Nature"), c + "\r\n");
  EXPECT_EQ(ViewFiles(f), std::vector<std::string>{c});
}

// Sends the shell's drop message for `paths` to the main window.
void Drop(HWND window, const std::vector<std::string>& paths) {
  size_t chars = 1;
  for (const auto& p : paths) chars += p.size() + 1;
  HGLOBAL h = GlobalAlloc(GHND, sizeof(DROPFILES) + chars);
  auto* drop = static_cast<DROPFILES*>(GlobalLock(h));
  drop->pFiles = sizeof(DROPFILES);
  char* out = reinterpret_cast<char*>(drop + 1);
  for (const auto& p : paths) {
    memcpy(out, p.c_str(), p.size() + 1);
    out += p.size() + 1;
  }
  GlobalUnlock(h);
  SendMessageA(window, WM_DROPFILES, reinterpret_cast<WPARAM>(h), 0);
}

TEST_F(WallpaperCategories, DroppedPicturesJoinTheSelectedCategory) {
  std::string a = Picture("a.bmp"), tif = Picture("scan.tif"), upper = Picture("PHOTO.JPG");
  std::string folder = pictures / "album.png";
  ForceDirectories(folder);
  WriteCategory("Nature", a + "\r\n");
  Settings("[Wallpaper Changer]\r\nLastCategory=Nature\r\n");
  auto& f = StartOnPage();

  std::string aUpper = a.substr(0, a.size() - 5) + "A.BMP";
  Drop(f.hwnd(), {aUpper, tif, upper, folder});
  // Already there in other letter case, and ".tif", are left out; a folder named like a
  // picture is taken as the page takes any path with an accepted extension.
  EXPECT_EQ(ReadCategoryFile("Nature"), a + "\r\n" + folder + "\r\n" + upper + "\r\n");
  EXPECT_EQ(ViewFiles(f), (std::vector<std::string>{a, upper}));   // the folder is not a file
  EXPECT_TRUE(fakes.prompts.shown.empty());

  // With no category selected the list goes to a file named only ".dat".
  PickCategory(f, "none");
  Drop(f.hwnd(), {tif});
  EXPECT_TRUE(FileExists(appDir / "WallCat\\.dat"));

  // Without the category folder the write fails with the file's name; the drop still ends.
  SHFILEOPSTRUCTA op{};
  std::string from = appDir / "WallCat";
  from.push_back('\0');
  op.wFunc = FO_DELETE;
  op.pFrom = from.c_str();
  op.fFlags = FOF_NOCONFIRMATION | FOF_NOERRORUI | FOF_SILENT;
  SHFileOperationA(&op);
  Drop(f.hwnd(), {upper});
  ASSERT_EQ(fakes.prompts.Errors().size(), 1u);
  EXPECT_EQ(fakes.prompts.Errors()[0].rfind("Cannot create file \"" + appDir.path() + "WallCat\\.dat\". ", 0), 0u);
}

}  // namespace
}  // namespace zel::test
