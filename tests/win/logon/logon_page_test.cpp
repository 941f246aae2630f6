// The Logon Screen Changer page in the real main window: choosing, dropping and starting with
// pictures, installing them (switch, file, size limit, held quality), the default picture, the
// lock command, and what happens when a picture cannot be read, fit or written.
#include <windows.h>

#include <shlobj.h>

#include <optional>

#include "core/files.h"
#include "core/registry.h"
#include "imaging/io.h"
#include "imaging/jpeg_quality.h"
#include "imaging/ops.h"
#include "test_support.h"

namespace zel::test {
namespace {

using logon::LogonPage;

// A photo-like picture: smooth gradients with fine detail, deterministic.
img::Image Picture(int w, int h, uint32_t seed) {
  img::Image im(w, h);
  uint32_t s = seed;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      s = s * 1664525u + 1013904223u;
      const int n = int(s >> 27);
      uint8_t* p = im.pixel(x, y);
      p[0] = uint8_t((x * 255 / w + n) & 255);
      p[1] = uint8_t((y * 255 / h + n) & 255);
      p[2] = uint8_t(((x + y) * 3 + n * 3) & 255);
    }
  return im;
}

// A real photograph from Debian's wallpaper packages (scripts/setup-imaging.sh installs it);
// where it is missing, a large picture of the same kind stands in.
std::string LargePhoto(const TempFolder& folder) {
  const std::string photo = "Z:\\usr\\share\\backgrounds\\Kleiber_by_Lukas_Baubkus.jpg";
  if (FileExists(photo)) return photo;
  const std::string made = folder / "large.jpg";
  img::Save(Picture(4000, 3000, 99), made, {92, false});
  return made;
}

bool IsProgressive(const std::string& jpeg) { return jpeg.find("\xFF\xC2") != std::string::npos; }

std::optional<uint32_t> BackgroundSwitch() {
  RegKey key;
  if (!key.Open(HKEY_LOCAL_MACHINE, logon::kBackgroundKey)) return std::nullopt;
  return key.ReadInteger(logon::kOemBackground);
}

int ScreenWidth() { return GetSystemMetrics(SM_CXSCREEN); }
int ScreenHeight() { return GetSystemMetrics(SM_CYSCREEN); }

// Sends the shell's drop message with the given paths, as Explorer does.
void DropFiles(HWND target, const std::vector<std::string>& paths) {
  size_t chars = 1;
  for (const auto& p : paths) chars += p.size() + 1;
  HGLOBAL h = GlobalAlloc(GHND, sizeof(DROPFILES) + chars);
  auto* drop = static_cast<DROPFILES*>(GlobalLock(h));
  drop->pFiles = sizeof(DROPFILES);
  char* list = reinterpret_cast<char*>(drop + 1);
  for (const auto& p : paths) {
    memcpy(list, p.c_str(), p.size());
    list += p.size() + 1;
  }
  GlobalUnlock(h);
  SendMessageA(target, WM_DROPFILES, reinterpret_cast<WPARAM>(h), 0);
}

void Click(ui::Button& b) { SendMessageA(b.hwnd(), BM_CLICK, 0, 0); }

class Logon : public FrameTest {
 protected:
  void SetUp() override {
    FrameTest::SetUp();
    switchKey_ = std::make_unique<ScopedRegistryKey>(HKEY_LOCAL_MACHINE, logon::kBackgroundKey);
    // The installed file is put back as it was after the test.
    if (FileExists(File())) saved_ = ReadWholeFile(File());
    DeleteFileA(File().c_str());
  }
  void TearDown() override {
    FrameTest::TearDown();
    RemoveDirectoryA(File().c_str());
    DeleteFileA(File().c_str());
    if (saved_) WriteFileReplacing(File(), *saved_);
    switchKey_.reset();
  }
  static std::string File() { return LogonPage::BackgroundFile(); }

  std::string SavePicture(const std::string& name, const img::Image& im) {
    const std::string path = appDir / name;
    img::Save(im, path, {90, false});
    return path;
  }
  // Chooses a picture through "Choose Picture".
  void Choose(app::TfrmZelvane& f, const std::string& path) {
    fakes.prompts.openAnswers.push_back({path});
    Click(f.logon.lscCPic);
  }
  const img::Image& Shown(app::TfrmZelvane& f) { return f.logon.picLSC.image(); }

 private:
  std::unique_ptr<ScopedRegistryKey> switchKey_;
  std::optional<std::string> saved_;
};

TEST_F(Logon, ASmallPictureIsInstalledAtItsOwnSize) {
  const img::Image small = Picture(320, 240, 1);
  const std::string path = SavePicture("small.png", small);
  auto& f = StartFrame();
  Choose(f, path);
  ASSERT_EQ(fakes.prompts.openSpecs.size(), 1u);
  const OpenDialogSpec& spec = fakes.prompts.openSpecs[0];
  EXPECT_EQ(spec.title, "Browse Picture");
  EXPECT_FALSE(spec.multiSelect);
  EXPECT_TRUE(spec.hideReadOnly);
  EXPECT_FALSE(spec.hidePlacesBar);
  ASSERT_EQ(Shown(f), small);
  EXPECT_EQ(f.logon.lblSize.Text(), "320 x 240 pixels");

  Click(f.logon.lscApply);
  EXPECT_EQ(fakes.prompts.Messages(), std::vector<std::string>{"Logon Screen Changed!"});
  EXPECT_TRUE(fakes.prompts.Errors().empty());
  EXPECT_EQ(BackgroundSwitch(), 1u);
  // The picture as it was, at the quality the page held (80), progressive.
  const std::string file = ReadWholeFile(File());
  const auto expected = img::EncodeJpeg(small, 80, true);
  EXPECT_EQ(file, std::string(expected.begin(), expected.end()));
  EXPECT_TRUE(IsProgressive(file));
  // The preview afterwards shows the picture stretched to the screen.
  EXPECT_EQ(Shown(f).width(), ScreenWidth());
  EXPECT_EQ(Shown(f).height(), ScreenHeight());
  EXPECT_EQ(f.logon.JpegQuality(), 80);
}

TEST_F(Logon, ALargePhotoEndsUnderTheLimitAtScreenSizeAndTheNextApplyKeepsItsQuality) {
  auto& f = StartFrame();
  Choose(f, LargePhoto(appDir));
  ASSERT_GT(Shown(f).width(), ScreenWidth());
  Click(f.logon.lscApply);
  ASSERT_EQ(fakes.prompts.Messages(), std::vector<std::string>{"Logon Screen Changed!"});
  const std::string first = ReadWholeFile(File());
  EXPECT_LE(first.size(), 249856u);
  EXPECT_TRUE(IsProgressive(first));
  const img::Image installed = img::LoadFromMemory({reinterpret_cast<const uint8_t*>(first.data()), first.size()},
                                                   img::Format::Jpeg);
  EXPECT_EQ(installed.width(), ScreenWidth());
  EXPECT_EQ(installed.height(), ScreenHeight());
  const int lowered = img::EstimateJpegQualityOfFile(File());
  EXPECT_LT(lowered, 80);
  EXPECT_EQ(f.logon.JpegQuality(), lowered);

  // The next Apply starts from the lowered quality: a small picture is now saved at it.
  const img::Image small = Picture(320, 240, 2);
  Choose(f, SavePicture("small.png", small));
  Click(f.logon.lscApply);
  EXPECT_EQ(fakes.prompts.Messages().size(), 2u);
  const auto expected = img::EncodeJpeg(small, lowered, true);
  EXPECT_EQ(ReadWholeFile(File()), std::string(expected.begin(), expected.end()));
  EXPECT_EQ(f.logon.JpegQuality(), lowered);
}

TEST_F(Logon, DefaultLogonScreenSwitchesOffAndKeepsTheFile) {
  ForceDirectories(LogonPage::BackgroundFolder());
  WriteTextFile(File(), "installed picture");
  WriteLMInteger(logon::kBackgroundKey, logon::kOemBackground, 1);
  auto& f = StartFrame();
  Click(f.logon.BitBtn1);
  EXPECT_EQ(BackgroundSwitch(), 0u);
  EXPECT_EQ(ReadWholeFile(File()), "installed picture");
  EXPECT_TRUE(fakes.prompts.shown.empty());
}

TEST_F(Logon, TestLocksTheWorkstationWithoutWaiting) {
  auto& f = StartFrame();
  Click(f.logon.lscTest);
  ASSERT_EQ(fakes.launcher.started.size(), 1u);
  EXPECT_EQ(fakes.launcher.started[0].program, "");
  EXPECT_EQ(fakes.launcher.started[0].commandLine, "RunDll32.exe user32.dll,LockWorkStation");
  EXPECT_FALSE(fakes.launcher.started[0].wait);
}

TEST_F(Logon, StartUpShowsTheInstalledPictureOrAnEmptyView) {
  ForceDirectories(LogonPage::BackgroundFolder());
  const struct {
    const char* name;
    std::string content;   // empty: no file
    int width;             // 0: empty view
  } cases[] = {
      {"no file", "", 0},
      {"installed", [] {
         const auto b = img::EncodeJpeg(Picture(200, 150, 4), 80, true);
         return std::string(b.begin(), b.end());
       }(), 200},
      {"damaged", "\xFF\xD8\xFF not really a JPEG", 0},
  };
  for (const auto& c : cases) {
    DeleteFileA(File().c_str());
    if (!c.content.empty()) WriteTextFile(File(), c.content);
    DeleteRegValue(HKEY_CURRENT_USER, "Software\\Kestrom", "19");
    auto& f = StartFrame();
    EXPECT_EQ(Shown(f).width(), c.width) << c.name;
    // Start-up went on past the picture (it records the executable afterwards).
    EXPECT_EQ(ReadCUString("Software\\Kestrom", "19"), ExePathForTest()) << c.name;
    EXPECT_TRUE(fakes.prompts.Errors().empty()) << c.name;
    CloseFrame();
  }
}

TEST_F(Logon, PicturesNamedOnTheCommandLineShowTheLastOne) {
  const std::string a = SavePicture("a.png", Picture(120, 90, 1));
  const std::string b = SavePicture("b.png", Picture(90, 120, 2));
  EXPECT_EQ(Shown(StartFrame({a})).width(), 120);
  CloseFrame();
  EXPECT_EQ(Shown(StartFrame({a, b})).width(), 90);
}

TEST_F(Logon, OnlyTheFirstOfSeveralDroppedFilesIsLoaded) {
  const std::string a = SavePicture("a.png", Picture(120, 90, 1));
  const std::string b = SavePicture("b.png", Picture(90, 120, 2));
  const std::string c = SavePicture("c.png", Picture(60, 60, 3));
  auto& f = StartFrame();
  DropFiles(f.hwnd(), {a, b, c});
  EXPECT_EQ(Shown(f).width(), 120);
  EXPECT_EQ(Shown(f).height(), 90);
  EXPECT_TRUE(fakes.prompts.shown.empty());
}

TEST_F(Logon, ACancelledChoiceOrAnUnreadableFileKeepsThePicture) {
  const img::Image kept = Picture(120, 90, 1);
  const std::string bad = appDir / "broken.jpg";
  WriteTextFile(bad, "this is not a picture");
  auto& f = StartFrame();
  Choose(f, SavePicture("a.png", kept));
  Click(f.logon.lscCPic);   // no answer: cancelled
  EXPECT_EQ(Shown(f), kept);

  DropFiles(f.hwnd(), {bad});
  ASSERT_EQ(fakes.prompts.Errors().size(), 1u);
  EXPECT_NE(fakes.prompts.Errors()[0].find(bad), std::string::npos) << fakes.prompts.Errors()[0];
  EXPECT_EQ(Shown(f), kept);

  // "Set as Logon Screen" with such a file stops before installing anything.
  EXPECT_ANY_THROW(f.wallpaper.sendToLogon(bad));
  EXPECT_EQ(Shown(f), kept);
  EXPECT_FALSE(BackgroundSwitch().has_value());
  EXPECT_FALSE(FileExists(File()));
}

TEST_F(Logon, NothingIsChangedWhenThereIsNoPictureOrItCannotFit) {
  auto& f = StartFrame();
  ASSERT_FALSE(f.logon.picLSC.HasImage());
  Click(f.logon.lscApply);
  EXPECT_EQ(fakes.prompts.Messages(),
            std::vector<std::string>{"There is no picture to apply. Choose a picture first."});

  const img::Image picture = Picture(400, 300, 8);
  Choose(f, SavePicture("p.png", picture));
  f.logon.maxFileBytes = 600;   // below what even the lowest quality gives
  Click(f.logon.lscApply);
  ASSERT_EQ(fakes.prompts.Messages().size(), 2u);
  EXPECT_EQ(fakes.prompts.Messages()[1], logon::TooLargeMessage(600));
  EXPECT_EQ(fakes.prompts.shown.back().kind, "error-message");
  EXPECT_FALSE(BackgroundSwitch().has_value());
  EXPECT_FALSE(FileExists(File()));
  EXPECT_EQ(Shown(f), picture);
  EXPECT_EQ(f.logon.JpegQuality(), 80);
}

TEST_F(Logon, AFileThatCannotBeWrittenIsReportedAndNotConfirmed) {
  // A folder in the file's place: the new file cannot replace it.
  ForceDirectories(File());
  auto& f = StartFrame();
  const img::Image picture = Picture(200, 100, 5);
  Choose(f, SavePicture("p.png", picture));
  Click(f.logon.lscApply);
  ASSERT_EQ(fakes.prompts.Errors().size(), 1u);
  EXPECT_EQ(fakes.prompts.Errors()[0].rfind("Cannot create file", 0), 0u) << fakes.prompts.Errors()[0];
  EXPECT_TRUE(fakes.prompts.Messages().empty());
  EXPECT_EQ(Shown(f), picture);
  EXPECT_EQ(f.logon.JpegQuality(), 80);
  EXPECT_FALSE(FileExists(File() + ".tmp~"));
}

}  // namespace
}  // namespace zel::test
