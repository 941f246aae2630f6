// The Extras page: OEM information editor, power-action timer, places bar customizer and
// Explorer toolbar background, each on a sheet of its own.
#pragma once
#include <string>

#include "ui/controls.h"

namespace zel::extras {

class ExtrasPage {
 public:
  explicit ExtrasPage(const std::string& appDir) : appDir_(appDir) {}
  void Build(ui::Panel& sheet);

  // Start-up: the timer's pickers show the current moment.
  void SetTimerPickersToNow(const SYSTEMTIME& now);
  // Start-up: the places fields and the places-bar switch from the registry.
  void ReadPlacesBar();
  // "Use &Default Placesbar".
  void DPClick();
  // Activation: the preset list from the presets file, then the OEM values.
  void ReadPresets();
  void LoadOEM();

  ui::PageControl PageControl2;
  ui::Panel* shtOEM = nullptr;
  ui::Panel* TabSheet8 = nullptr;   // "Timer"
  ui::Panel* TabSheet3 = nullptr;   // "Placesbar Customizer"
  ui::Panel* TabSheet4 = nullptr;   // "Explorer Toolbar Customizer (Win XP)"

  // OEM editor
  ui::Panel oemBand;
  ui::Label Label56;
  ui::GroupBox GroupBox6;
  ui::ListBox lstPreset;

  // Timer
  ui::Panel timerBand;
  ui::Label timerTitle;
  ui::DateTimePicker stTime, sdtDate, sdtTime;
  ui::Button BitBtn23;   // "Send to Tray"
  ui::Timer tmrTimer;

  // Places bar
  ui::Panel placesBand;
  ui::Label Label22;
  ui::Label Label1, Label2, Label3, Label4, Label5;
  ui::ComboBox P1, P2, P3, P4, P5;
  ui::ComboBox SH;
  ui::Button Preview;

  // Explorer toolbar
  ui::Panel toolbarBand;
  ui::Label Label23;
  ui::Label Label8;
  ui::Edit XToolBg;
  ui::Edit XTool;   // the hidden "BackBitmap" row

 private:
  ui::ComboBox* Place(int i);
  const std::string& appDir_;
};

}  // namespace zel::extras
