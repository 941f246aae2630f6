#include "dashboard/side_panel.h"

#include "dashboard/night_mode.h"

namespace zel::dashboard {

namespace {
// Main windows alive in the process; the dark-mode overlay they share goes with the last one.
int livePanels = 0;
}  // namespace

SidePanel::SidePanel() { ++livePanels; }

SidePanel::~SidePanel() {
  if (--livePanels == 0) ReleaseNightMode();
}

using ui::Align;
using ui::Glyph;
using ui::GlyphLayout;
using ui::Rect;

void SidePanel::Build(ui::Widget& parent) {
  Panel2.Create(parent, {0, 0, 193, 638}, "", ui::skin::kSidePanel, true);
  ui::FontSpec white{"MS Sans Serif", 8, true, false, false, ui::kWhite};

  // Header band
  headerBand.Create(Panel2, {2, 2, 189, 103}, "", ui::kPanelBlue);
  Icon.Create(headerBand, {10, 10, 40, 40}, true);
  Icon.SetGlyph(Glyph::AppLogo, ui::kWhite);
  title.Create(headerBand, {56, 12, 128, 22}, "Zelvane");
  title.SetFont({"Tahoma", 12, true, false, false, ui::kWhite});
  Label7.Create(headerBand, {58, 38, 57, 16}, "2015.12", Align::Centre);
  Label7.SetColour(ui::kGreen);
  Label7.SetFont({"Comic Sans MS", 8, false, false, false, ui::kWhite});
  struct HeaderButton {
    ui::Button& button;
    int left;
    const char* hint;
    Glyph glyph;
  };
  HeaderButton header[] = {{btnHome, 17, "Homepage", Glyph::Home},
                           {btnAbout, 41, "About", Glyph::About},
                           {btnDonate, 65, "Donate", Glyph::Donate},
                           {btnUpdate, 89, "Update Checker", Glyph::Update},
                           {spdSupport, 125, "Support Us!", Glyph::Support},
                           {btnMore, 149, "More Software", Glyph::More}};
  for (auto& h : header) {
    h.button.Create(headerBand, {h.left - 2, 69, 24, 24}, h.hint, h.glyph, GlyphLayout::Only);
    h.button.SetFlatColours(ui::kPanelBlue, ui::kWhite);
    h.button.SetHint(h.hint);
  }

  // Monitor box
  monitorBox.Create(Panel2, {8, 112, 177, 161}, "", ui::skin::kFace, true);
  pbMem.Create(monitorBox, {8, 8, 41, 89}, true);
  pbPow.Create(monitorBox, {56, 8, 41, 89}, true);
  capRAM.Create(monitorBox, {8, 100, 41, 16}, "0%", Align::Centre);
  capPow.Create(monitorBox, {56, 100, 41, 16}, "0%", Align::Centre);
  BitBtn5.Create(monitorBox, {8, 124, 41, 25}, "RAM");
  BitBtn5.SetFont({"MS Sans Serif", 8, true, false, false, ui::kGreen});
  BitBtn5.SetHint("Click here to \"Optimize Memory Usage\"");
  Label14.Create(monitorBox, {56, 124, 41, 25}, "Power");
  Label14.SetHint("Power Options");
  Label14.helpKeyword = "RunDll32.exe Shell32.dll,Control_RunDLL powercfg.cpl";
  Label11.Create(monitorBox, {100, 8, 74, 16}, "Uptime", Align::Centre);
  Label11.SetBold(true);
  // 74 wide rather than 65: "59 minute(s)" then stays on one line with the fonts Wine has too.
  Label13.Create(monitorBox, {100, 28, 74, 113}, "0 Day(s)", Align::Centre, true);

  // Quick links
  quickLinksBand.Create(Panel2, {8, 280, 177, 24}, "", ui::kPanelBlue);
  Label19.Create(quickLinksBand, {0, 4, 177, 16}, "Quick Links", Align::Centre);
  Label19.SetFont(white);
  struct QuickLink {
    ui::Button& button;
    int left, top;
    const char* hint;
    Glyph glyph;
    const char* command;
  };
  QuickLink links[] = {
      {BitBtn6, 16, 312, "Control Panel", Glyph::ControlPanel, "Rundll32 Shell32.dll,Control_RunDLL"},
      {BitBtn7, 56, 312, "Computer Management", Glyph::ComputerManagement, "mmc.exe compmgmt.msc"},
      {BitBtn13, 96, 312, "System Properties", Glyph::SystemProperties,
       "Rundll32 Shell32.dll,Control_RunDLL Sysdm.cpl,,3"},
      {BitBtn8, 136, 312, "Windows Mobility Center", Glyph::MobilityCenter, "mblctr.exe"},
      {BitBtn9, 16, 352, "Folder Options", Glyph::FolderOptions, "Rundll32 Shell32.dll,Options_RunDLL"},
      {BitBtn10, 56, 352, "Network Connections", Glyph::NetworkConnections,
       "RunDll32.exe shell32.dll,Control_RunDLL ncpa.cpl"},
      {BitBtn11, 96, 352, "Sound Volume", Glyph::SoundVolume, "sndvol.exe"},
      {BitBtn12, 136, 352, "Safely Remove Hardware", Glyph::SafelyRemove,
       "RunDll32.exe shell32.dll,Control_RunDLL hotplug.dll"}};
  for (auto& q : links) {
    q.button.Create(Panel2, {q.left, q.top, 41, 41}, q.hint, q.glyph, GlyphLayout::Only);
    q.button.SetHint(q.hint);
    q.button.helpKeyword = q.command;
  }

  // Run box
  runBand.Create(Panel2, {8, 408, 177, 24}, "", ui::kPanelBlue);
  Label21.Create(runBand, {0, 4, 64, 16}, "RUN", Align::Centre);
  Label21.SetFont(white);
  Label21.SetHandCursor(true);
  txtRun.Create(runBand, {64, 2, 113, 20}, "", false, true);

  // Dark mode
  btn1.Create(Panel2, {8, 448, 177, 33}, "Dark Mode", Glyph::DarkMode, GlyphLayout::Left);
  btn1.SetGroup(100, true);
  btn1.SetHint("Protect your Eyes when working on The Dark Place");

  // Power row: "A" is 25 wide, the others 29; all 30 tall. The hints of shutdown, restart and
  // hibernate get their second line in the main window's FormCreate.
  struct PowerButton {
    ui::Button& button;
    const char* name;
    const char* hint;
    Glyph glyph;
    const char* command;
  };
  PowerButton power[] = {
      {pcShut, "Shutdown", "Shutdown", Glyph::Shutdown, "shutdown /s /t 30"},
      {pcRest, "Restart", "Restart", Glyph::Restart, "shutdown /r /t 30"},
      {pcSleep, "Sleep", "Sleep", Glyph::Sleep, "rundll32.exe powrprof.dll,SetSuspendState 0,1,0"},
      {pcHib, "Hibernate", "Hibernate", Glyph::Hibernate, "RunDll32.exe powrprof.dll,SetSuspendState"},
      {pcLock, "Lock", "Lock", Glyph::Lock, "RunDll32.exe user32.dll,LockWorkStation"}};
  BitBtn15.Create(Panel2, {10, 564, 25, 30}, "A");
  BitBtn15.SetFont({"MS Sans Serif", 8, true, false, false, ui::kGreen});
  BitBtn15.SetHint("Abort \"Shutdown\" or \"Restart\"");
  BitBtn15.helpKeyword = "shutdown /a";
  int left = 38;
  for (auto& p : power) {
    p.button.Create(Panel2, {left, 564, 29, 30}, p.name, p.glyph, GlyphLayout::Only);
    p.button.SetHint(p.hint);
    p.button.helpKeyword = p.command;
    left += 29 + 1;
  }

  // Footer band
  footerBand.Create(Panel2, {0, 600, 192, 38}, "", ui::kPanelBlue);
  lblToday.Create(footerBand, {15, 10, 161, 18}, "-", Align::Centre);
  lblToday.SetFont({"Tahoma", 10, true, false, false, ui::kWhite});
  lblToday.SetHandCursor(true);
  lblToday.helpKeyword = "RunDll32.exe shell32.dll,Control_RunDLL timedate.cpl";

  BindHandlers();
}

void SidePanel::BindHandlers() {
  for (ui::Button* b : {&BitBtn6, &BitBtn7, &BitBtn13, &BitBtn8, &BitBtn9, &BitBtn10, &BitBtn11, &BitBtn12, &Label14})
    b->onClick = [this, b] { QLClick(*b); };
  lblToday.onClick = [this] { QLClick(lblToday); };
  for (ui::Button* b : {&BitBtn15, &pcShut, &pcRest, &pcSleep, &pcHib, &pcLock})
    b->onClick = [this, b] { PowControlClick(*b); };
  txtRun.onKeyPress = [this](char& key) { txtRunKeyPress(key); };
  Label21.onClick = [this] { Label21Click(); };
  BitBtn5.onClick = [this] { BitBtn5Click(); };
  btnHome.onClick = [this] { btnHomeClick(); };
  btn1.onClick = [this] { btn1Click(); };
}

}  // namespace zel::dashboard
