#include "extras/extras_page.h"

#include "core/error.h"
#include "core/profile.h"
#include "core/registry.h"

namespace zel::extras {

namespace {
constexpr char kPlacesBarKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\comdlg32\\Placesbar";
constexpr char kComdlgKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\comdlg32";

// A place is normally a text; other tools also store folder numbers (REG_DWORD), which are
// shown as that number rather than stopping the start-up.
std::string PlaceText(const RegKey& key, const std::string& name) {
  try {
    return key.ReadString(name);
  } catch (const Error&) {
    try {
      auto number = key.ReadInteger(name);
      return number ? std::to_string(*number) : std::string();
    } catch (const Error&) {
      return {};
    }
  }
}
}  // namespace

ui::ComboBox* ExtrasPage::Place(int i) {
  ui::ComboBox* places[] = {&P1, &P2, &P3, &P4, &P5};
  return places[i];
}

void ExtrasPage::Build(ui::Panel& sheet) {
  PageControl2.Create(sheet, {4, 4, 695, 527}, true, 0, 22);
  shtOEM = &PageControl2.AddSheet("OEM Editor");
  TabSheet8 = &PageControl2.AddSheet("Timer");
  TabSheet3 = &PageControl2.AddSheet("Placesbar Customizer");
  TabSheet4 = &PageControl2.AddSheet("Explorer Toolbar Customizer (Win XP)");
  ui::Rect area = PageControl2.SheetDesignRect();
  int w = area.width;

  ui::CreateBand(oemBand, Label56, *shtOEM, {0, 0, w, 28}, "OEM EDITOR");
  GroupBox6.Create(*shtOEM, {8, 300, w - 16, 150}, " Presets ");
  lstPreset.Create(GroupBox6, {10, 20, w - 36, 120}, true, 4);

  ui::CreateBand(timerBand, timerTitle, *TabSheet8, {0, 0, w, 28}, "TIMER");
  stTime.Create(*TabSheet8, {20, 60, 120, 22}, ui::DateTimePicker::Kind::Time);
  sdtDate.Create(*TabSheet8, {20, 110, 120, 22}, ui::DateTimePicker::Kind::Date);
  sdtTime.Create(*TabSheet8, {150, 110, 120, 22}, ui::DateTimePicker::Kind::Time);
  BitBtn23.Create(*TabSheet8, {w - 124, area.height - 42, 116, 30}, "Send to Tray", ui::Glyph::Tray,
                  ui::GlyphLayout::Left);
  tmrTimer.SetInterval(1000);

  ui::CreateBand(placesBand, Label22, *TabSheet3, {0, 0, w, 28}, "PLACESBAR CUSTOMIZER");
  ui::Label* labels[] = {&Label1, &Label2, &Label3, &Label4, &Label5};
  const std::vector<std::string> placeItems = {"Desktop", "MyComputer",    "MyDocuments", "MyMusic", "MyPictures",
                                               "ProgramFiles", "Recent", "%ProgramFiles%", "%Windir%"};
  for (int i = 0; i < 5; ++i) {
    int top = 44 + i * 34;
    labels[i]->Create(*TabSheet3, {16, top + 3, 80, 16}, "Placesbar &" + std::to_string(i + 1));
    Place(i)->Create(*TabSheet3, {100, top, 300, 21}, true, placeItems);
    Place(i)->tag = i + 1;
  }
  SH.Create(*TabSheet3, {100, 230, 180, 21}, false, {"Show Placesbar", "Hide Placesbar"});
  SH.SetItemIndex(0);
  Preview.Create(*TabSheet3, {290, 228, 110, 26}, "&Preview");
  Preview.SetEnabled(false);

  ui::CreateBand(toolbarBand, Label23, *TabSheet4, {0, 0, w, 28}, "EXPLORER TOOLBAR CUSTOMIZER");
  Label8.Create(*TabSheet4, {16, 48, 200, 16}, "Explorer Toolbar Background");
  XToolBg.Create(*TabSheet4, {16, 68, 420, 21});
  XTool.Create(*TabSheet4, {16, 110, 420, 21});
  XTool.SetVisible(false);
  XTool.SetEnabled(false);
}

void ExtrasPage::SetTimerPickersToNow(const SYSTEMTIME& now) {
  stTime.SetValue(now);
  sdtDate.SetValue(now);
  sdtTime.SetValue(now);
}

void ExtrasPage::ReadPlacesBar() {
  {
    RegKey places;
    if (places.Create(HKEY_CURRENT_USER, kPlacesBarKey)) {
      for (int i = 0; i < 5; ++i) {
        std::string name = "Place" + std::to_string(i);
        if (places.ValueExists(name)) Place(i)->SetText(PlaceText(places, name));
      }
    }
  }
  {
    RegKey comdlg;
    if (comdlg.Create(HKEY_CURRENT_USER, kComdlgKey) && comdlg.ValueExists("NoPlacesBar")) {
      auto hide = comdlg.ReadInteger("NoPlacesBar");
      SH.SetItemIndex(hide && *hide == 1 ? 1 : 0);
    }
  }
  bool allEmpty = true;
  for (int i = 0; i < 5; ++i) allEmpty = allEmpty && Place(i)->Text().empty();
  if (allEmpty) DPClick();
}

void ExtrasPage::DPClick() {
  Preview.SetEnabled(true);
  DeleteRegKey(HKEY_CURRENT_USER, kPlacesBarKey);
}

void ExtrasPage::ReadPresets() { lstPreset.SetItems(IniFile(appDir_ + "OEM\\OEM.dat").SectionNames()); }

void ExtrasPage::LoadOEM() {
  // Filled in by the OEM information editor.
}

}  // namespace zel::extras
