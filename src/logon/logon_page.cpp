#include "logon/logon_page.h"

#include "core/files.h"
#include "core/process.h"
#include "core/registry.h"
#include "core/seams.h"
#include "imaging/io.h"

namespace zel::logon {

using ui::Glyph;
using ui::GlyphLayout;

namespace {
// The hourglass while a long handler runs on the GUI thread.
class WaitCursor {
 public:
  WaitCursor() : old_(SetCursor(LoadCursor(nullptr, IDC_WAIT))) {}
  ~WaitCursor() { SetCursor(old_); }
  WaitCursor(const WaitCursor&) = delete;
  WaitCursor& operator=(const WaitCursor&) = delete;

 private:
  HCURSOR old_;
};
}  // namespace

void LogonPage::Build(ui::Panel& sheet) {
  ui::CreateBand(band, Label20, sheet, {0, 0, 703, 28}, "LOGON SCREEN CHANGER");
  lblSize.Create(band, {453, 6, 240, 16}, "", ui::Align::Right);
  lblSize.SetFont({"Tahoma", 8, false, false, false, ui::kWhite});
  picLSC.Create(sheet, {6, 34, 691, 443});
  picLSC.SetColour(RGB(232, 236, 242));
  picLSC.SetEmptyText("No logon picture installed. Choose a picture, or drop one here.");
  Panel1.Create(sheet, {0, 483, 703, 52}, "", ui::skin::kFace, true);
  lscCPic.Create(Panel1, {10, 10, 140, 32}, "Choose Picture", Glyph::None, GlyphLayout::Left);
  lscApply.Create(Panel1, {158, 10, 110, 32}, "Apply", Glyph::None, GlyphLayout::Left);
  BitBtn1.Create(Panel1, {276, 10, 180, 32}, "Use default Logon Screen");
  lscTest.Create(Panel1, {464, 10, 100, 32}, "Test", Glyph::Test, GlyphLayout::Left);

  lscCPic.onClick = [this] { lscCPicClick(); };
  lscApply.onClick = [this] { lscApplyClick(); };
  BitBtn1.onClick = [this] { BitBtn1Click(); };
  lscTest.onClick = [this] { lscTestClick(); };
}

std::string LogonPage::BackgroundFolder() { return WindowsDir() + kBackgroundFolder; }
std::string LogonPage::BackgroundFile() { return BackgroundFolder() + kBackgroundName; }

HWND LogonPage::Owner() const { return Panel1.hwnd() ? GetAncestor(Panel1.hwnd(), GA_ROOT) : nullptr; }

void LogonPage::ShowPicture(img::Image picture) {
  lblSize.SetText(picture.empty() ? std::string()
                                  : std::to_string(picture.width()) + " x " + std::to_string(picture.height()) +
                                        " pixels");
  picLSC.SetImage(std::move(picture));
}

void LogonPage::LoadLS() {
  // A 32-bit build must read the real System32 folder, not its redirected copy.
  FsRedirectionOff redirection;
  const std::string file = BackgroundFile();
  if (!FileExists(file)) return;
  try {
    ShowPicture(img::Load(file));
  } catch (const img::Error&) {
    // A damaged installed file leaves the preview empty; start-up goes on.
  }
}

void LogonPage::lscCPicClick() {
  dlgLSC.spec.multiSelect = false;
  dlgLSC.spec.hideReadOnly = true;
  dlgLSC.spec.hidePlacesBar = false;
  if (!dlgLSC.Execute(Owner()) || dlgLSC.files.empty()) return;
  LoadPicture(dlgLSC.files.front());
}

void LogonPage::LoadPicture(const std::string& path) {
  // Decoded in full before the preview changes, so a file that cannot be read leaves the
  // current picture in place; the error names the file.
  WaitCursor wait;
  ShowPicture(img::Load(path));
}

void LogonPage::lscApplyClick() {
  if (!picLSC.HasImage()) {
    services().prompts->Message(Owner(), "There is no picture to apply. Choose a picture first.", MessageKind::Error);
    return;
  }
  LogonPicture prepared;
  {
    WaitCursor wait;
    prepared = PrepareLogonPicture(picLSC.image(), GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN),
                                   jpegQuality_, maxFileBytes);
  }
  if (!prepared.fit) {
    // Nothing is changed: a file over the limit would not show, and the switch would point
    // the logon screen at it.
    services().prompts->Message(Owner(), TooLargeMessage(maxFileBytes), MessageKind::Error);
    return;
  }
  WriteLMInteger(kBackgroundKey, kOemBackground, 1);
  {
    FsRedirectionOff redirection;
    ForceDirectories(BackgroundFolder());
    // Written once, through a temporary file, so a failed write cannot leave half a file.
    WriteFileReplacing(BackgroundFile(), std::string(prepared.file.begin(), prepared.file.end()));
  }
  jpegQuality_ = prepared.quality;
  ShowPicture(std::move(prepared.view));
  services().prompts->Message(Owner(), "Logon Screen Changed!", MessageKind::Information);
}

void LogonPage::BitBtn1Click() { WriteLMInteger(kBackgroundKey, kOemBackground, 0); }

void LogonPage::lscTestClick() { RunCommandLine("", kLockCommand, false); }

}  // namespace zel::logon
