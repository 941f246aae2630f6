#include "app/main_form.h"

#include <shellapi.h>

#include <ctime>
#include <exception>
#include <random>

#include "core/error.h"
#include "core/files.h"
#include "core/registry.h"
#include "core/seams.h"
#include "core/system.h"
#include "core/text.h"
#include "ui/prompts.h"
#include "windows/companions.h"

namespace zel::app {

const char* const HomeAddresses[3] = {
    "https://zelvane.example.org/",
    "https://www.zelvane.example.net/",
    "https://zelvane.example.org/",
};

namespace {
constexpr UINT kTrayMessage = WM_APP + 1;
constexpr UINT kTrayId = 1;
constexpr char kMakerKey[] = "Software\\Kestrom";
constexpr char kProductNumber[] = "19";
}  // namespace

namespace {
// Milliseconds since this process was created.
double MillisecondsSinceProcessStart() {
  FILETIME created, exited, kernel, user, now;
  GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
  GetSystemTimeAsFileTime(&now);
  auto ticks = [](const FILETIME& f) { return (uint64_t(f.dwHighDateTime) << 32) | f.dwLowDateTime; };
  return double(ticks(now) - ticks(created)) / 10000.0;
}
}  // namespace

void WriteStartupProbe(const std::string& path) {
  std::string text = std::to_string(MillisecondsSinceProcessStart()) + " " +
                     std::to_string(ProcessMemoryNow().current / 1024) + "\n";
  HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  WriteFile(h, text.data(), DWORD(text.size()), &written, nullptr);
  CloseHandle(h);
}

TfrmZelvane::TfrmZelvane(const FrameOptions& options) : options_(options) {
  if (options.isMain) {
    char probe[MAX_PATH] = {};
    if (GetEnvironmentVariableA("ZELVANE_STARTUP_PROBE", probe, MAX_PATH)) startupProbe_ = probe;
  }
  if (options.arguments) {
    arguments_ = *options.arguments;
  } else {
    auto items = SplitCommandLine(GetCommandLineA());
    if (!items.empty()) arguments_.assign(items.begin() + 1, items.end());
  }
  ui::FormSpec spec;
  spec.className = "TfrmZelvane";
  spec.caption = "Zelvane";
  spec.designClientWidth = 900;
  spec.designClientHeight = 640;
  spec.outerWidth = 916;
  spec.outerHeight = 678;
  spec.minOuterWidth = 800;
  spec.minOuterHeight = 600;
  spec.owner = options.owner;
  spec.icon = LoadIconA(GetModuleHandleA(nullptr), "MAINICON");
  SetFont(ui::FontSpec{});
  SetColour(ui::skin::kFace);
  Create(spec);
  closeAction = options.isMain ? ui::CloseAction::Free : ui::CloseAction::Hide;
  BuildControls();
  BindHandlers();
  SkinActivate();
  try {
    FormCreate();
  } catch (const std::exception& e) {
    // The window is still created, shown and usable after an error at start-up.
    ui::ReportError(hwnd(), e.what());
  }
}

TfrmZelvane::~TfrmZelvane() {
  ShowTrayIcon(false);
  // Destroying the window first takes all controls down in one pass; the control objects
  // then find their windows gone.
  if (hwnd()) DestroyWindow(hwnd());
}

void TfrmZelvane::BuildControls() {
  side.Build(*this);

  PageControl3.Create(*this, {192, 0, 705, 105}, true, 0, 20);
  ui::Panel& toolSet = PageControl3.AddSheet("Tool Set");
  struct ToolButton {
    ui::Button& button;
    const char* caption;
    int tag, left, width;
    ui::Glyph glyph;
  };
  ToolButton tools[] = {{spdICus, "Icon Customizer", kIconsTag, 8, 105, ui::Glyph::IconCustomizer},
                        {spdLSC, "Logon Screen Changer", kLogonTag, 120, 137, ui::Glyph::LogonScreen},
                        {spdSC, "Screen Capture", kCaptureTag, 264, 97, ui::Glyph::ScreenCapture},
                        {spdWC, "Wallpaper Changer", kWallpaperTag, 368, 121, ui::Glyph::Wallpaper},
                        {SpeedButton2, "EXTRAS", kExtrasTag, 576, 113, ui::Glyph::Extras}};
  for (auto& t : tools) {
    t.button.Create(toolSet, {t.left, 4, t.width, 65}, t.caption, t.glyph, ui::GlyphLayout::Top);
    t.button.tag = t.tag;
    t.button.SetGroup(1);
    t.button.SetGlyphSize(30);
  }
  spdICus.SetHint("Customize \"Shell32.dll\" Icons");
  spdLSC.SetDown(true);

  PageControl1.Create(*this, {194, 105, 703, 535}, false);
  shtLSC = &PageControl1.AddSheet("Logon Screen Changer");
  shtSC = &PageControl1.AddSheet("Screen Capture");
  shtWC = &PageControl1.AddSheet("Wallpaper Changer");
  shtICus = &PageControl1.AddSheet("Icon Customizer");
  shtExtras = &PageControl1.AddSheet("EXTRAS");
  logon.Build(*shtLSC);
  capture.Build(*shtSC);
  wallpaper.Build(*shtWC);
  icons.Build(*shtICus);
  extras.Build(*shtExtras);
  PageControl1.SetActiveSheet(shtLSC);

  Timer1.SetInterval(1000);
  Timer1.SetEnabled(true);
}

void TfrmZelvane::BindHandlers() {
  onShow = [this] { FormShow(); };
  onActivate = [this] { FormActivate(); };
  onResize = [this] { FormResize(); };
  onClose = [this](ui::CloseAction& action) { FormClose(action); };
  onMessage = [this](UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    return HandleShellMessage(msg, wp, lp, result);
  };
  for (ui::Button* b : {&spdICus, &spdLSC, &spdSC, &spdWC, &SpeedButton2})
    b->onClick = [this, b] { ToolSet_Select(*b); };
  wallpaper.BitBtn14.onClick = [this] { BitBtn14Click(); };
  extras.BitBtn23.onClick = [this] { BitBtn14Click(); };
  side.Icon.onDblClick = [this] { IconDblClick(); };
  Timer1.onTimer = [this] { side.Timer1Timer(); };
  wallpaper.sendToLogon = [this](const std::string& path) {
    logon.LoadPicture(path);
    logon.lscApplyClick();
  };
}

// ---------------------------------------------------------------- start-up

void TfrmZelvane::FormCreate() {
  // 1. The two-line hints of three power buttons.
  side.pcShut.SetHint("Shutdown\r( Timeout : 30 seconds )");
  side.pcRest.SetHint("Restart\r( Timeout : 30 seconds )");
  side.pcHib.SetHint("Hibernate\r( Note : if Hibernation mode was Disabled, your PC will be going to Sleep mode )");
  // 2. The power-action timer's pickers show the current moment.
  extras.SetTimerPickersToNow(services().clock->Now());
  // 3. The data folder.
  AppDir = options_.appDir.empty() ? ExtractFilePath(ExePath()) : IncludeTrailingBackslash(options_.appDir);
  // 4. The Explorer toolbar fields.
  extras.XTool.SetText(ReadCUString("Software\\Microsoft\\Internet Explorer\\Toolbar", "BackBitmap"));
  extras.XToolBg.SetText(ReadCUString("Software\\Microsoft\\Internet Explorer\\Toolbar", "BackBitmapShell"));
  // 5.
  side.title.SetText("Zelvane");

  // 6 to 12 form a guarded block: an error skips the rest of it, then 13 to 16 still run.
  std::exception_ptr guarded;
  try {
    extras.ReadPlacesBar();                          // 6
    PageControl1.SetActiveSheet(shtLSC);             // 7 (the sheets' tabs are never shown)
    icons.ReadShell32();                             // 8
    icons.ReadDriveICO();
    logon.lscApply.SetGlyph(capture.BitBtn4.glyph(), ui::GlyphLayout::Left);   // 9
    logon.lscCPic.SetGlyph(capture.scDesktop.glyph(), ui::GlyphLayout::Left);
    logon.LoadLS();                                  // 10
    {                                                // 11
      RegKey maker;
      if (!maker.Create(HKEY_CURRENT_USER, kMakerKey)) throw Error("Error creating system registry entry");
      try {
        maker.WriteString(kProductNumber, ExePath());
      } catch (const Error&) {
        throw Error("Error creating system registry entry");
      }
    }
    SetDoubleBuffered(true);                         // 12
  } catch (...) {
    guarded = std::current_exception();
  }

  side.title.SetText("Zelvane");                     // 13
  std::string reminder = ReadCUString("Software\\Kestrom\\Support", kProductNumber);   // 14
  if (reminder == "1" || reminder.empty()) windows::ShowStartupReminder(hwnd());
  capture.SetUndoLimit(50);                          // 15
  std::mt19937 random(static_cast<unsigned>(std::time(nullptr)) ^ GetTickCount());    // 16
  side.btnHome.helpKeyword = HomeAddresses[std::uniform_int_distribution<int>(0, 2)(random)];

  if (guarded) std::rethrow_exception(guarded);
}

void TfrmZelvane::FormShow() {
  DragAcceptFiles(hwnd(), TRUE);
  for (const std::string& path : arguments_) RouteDroppedFile(path);
}

void TfrmZelvane::FormActivate() {
  wallpaper.ReadCategory();
  wallpaper.WCTimer.SetInterval(UINT(wallpaper.spInterval.Value()) * 1000);
  wallpaper.WallpaperIndex = 0;
  ReadSettings();
  extras.ReadPresets();
  extras.LoadOEM();
}

void TfrmZelvane::FormClose(ui::CloseAction& action) {
  try {
    SaveSettings();
  } catch (const std::exception& e) {
    // The settings could not be written: say so, and close all the same.
    ui::ReportError(hwnd(), e.what());
  }
  Timer1.SetEnabled(false);
}

void TfrmZelvane::FormResize() { wallpaper.FormResize(); }

void TfrmZelvane::SkinActivate() { wallpaper.spInterval.Invalidate(); }

// ---------------------------------------------------------------- navigation

ui::Panel* TfrmZelvane::SheetForTag(int tag) const {
  switch (tag) {
    case kLogonTag: return shtLSC;
    case kCaptureTag: return shtSC;
    case kWallpaperTag: return shtWC;
    case kExtrasTag: return shtExtras;
    case kIconsTag: return shtICus;
  }
  return nullptr;
}

void TfrmZelvane::ToolSet_Select(ui::Button& sender) {
  if (ui::Panel* sheet = SheetForTag(sender.tag)) PageControl1.SetActiveSheet(sheet);
}

// ---------------------------------------------------------------- tray

void TfrmZelvane::BitBtn14Click() {
  Hide();
  ShowTrayIcon(true);
}

void TfrmZelvane::TrayIcon1DblClick() {
  Show();
  ShowTrayIcon(false);
}

void TfrmZelvane::ShowTrayIcon(bool show) {
  if (show == trayIconShown_ || !hwnd()) return;
  NOTIFYICONDATAA data{};
  data.cbSize = NOTIFYICONDATAA_V1_SIZE;  // understood by every Windows the program supports
  data.hWnd = hwnd();
  data.uID = kTrayId;
  if (show) {
    data.uFlags = NIF_ICON | NIF_TIP | NIF_MESSAGE;
    data.uCallbackMessage = kTrayMessage;
    data.hIcon = LoadIconA(GetModuleHandleA(nullptr), "MAINICON");
    lstrcpynA(data.szTip, "Zelvane", sizeof(data.szTip));
    trayIconShown_ = Shell_NotifyIconA(NIM_ADD, &data) != 0;
  } else {
    Shell_NotifyIconA(NIM_DELETE, &data);
    trayIconShown_ = false;
  }
}

// ---------------------------------------------------------------- further windows

void TfrmZelvane::IconDblClick() {
  FrameOptions options;
  options.appDir = options_.appDir;
  options.arguments = &arguments_;
  options.isMain = false;
  options.endsProgram = false;
  options.owner = hwnd();
  further_.push_back(std::make_unique<TfrmZelvane>(options));
  further_.back()->Show();
}

// ---------------------------------------------------------------- shell messages

bool TfrmZelvane::HandleShellMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
  switch (msg) {
    case kTrayMessage:
      // Any mouse button's double-click restores the window; nothing else does anything.
      if (lp == WM_LBUTTONDBLCLK || lp == WM_RBUTTONDBLCLK || lp == WM_MBUTTONDBLCLK) TrayIcon1DblClick();
      return true;
    case WM_DROPFILES: {
      HDROP drop = reinterpret_cast<HDROP>(wp);
      std::exception_ptr failure;
      try {
        UINT count = DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
        for (UINT i = 0; i < count; ++i) {
          char path[MAX_PATH] = {};
          DragQueryFileA(drop, i, path, MAX_PATH);
          if (!path[0]) continue;
          RouteDroppedFile(path);
          if (PageControl1.ActiveSheet() == shtLSC) break;  // only the first file is loaded there
        }
      } catch (...) {
        failure = std::current_exception();
      }
      DragFinish(drop);
      if (PageControl1.ActiveSheet() == shtWC) wallpaper.SelectCategory();
      if (failure) std::rethrow_exception(failure);
      result = 0;
      return true;
    }
    case WM_PAINT:
      if (startupProbe_.empty()) return false;
      // Benchmark hook: measure until the window and all its controls have painted once.
      {
        std::string probe;
        probe.swap(startupProbe_);
        ValidateRect(hwnd(), nullptr);
        RedrawWindow(hwnd(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
        WriteStartupProbe(probe);
        PostMessageA(hwnd(), WM_CLOSE, 0, 0);
      }
      result = 0;
      return true;
    case WM_DESTROY:
      ShowTrayIcon(false);
      if (options_.endsProgram) PostQuitMessage(0);
      return false;
  }
  return false;
}

void TfrmZelvane::RouteDroppedFile(const std::string& path) {
  // The capture and extras pages take no files.
  ui::Panel* page = PageControl1.ActiveSheet();
  if (page == shtLSC) logon.LoadPicture(path);
  else if (page == shtWC) wallpaper.AddDroppedPath(path);
  else if (page == shtICus && DirectoryExists(path)) icons.DropFolder(path);
}

}  // namespace zel::app
