// The side panel of the main window: header band with the program's picture and the
// companion-window buttons, the monitor box, quick links, run box, dark-mode switch, power
// row and the date-and-time footer.
#pragma once
#include <functional>
#include <string>

#include "ui/controls.h"

namespace zel::dashboard {

// The uptime text of the system monitor: DurationText of the clock's tick count.
std::string UptimeText();

class SidePanel {
 public:
  SidePanel();
  ~SidePanel();
  SidePanel(const SidePanel&) = delete;
  SidePanel& operator=(const SidePanel&) = delete;

  // Creates every control of the panel at its design place inside `parent`, with the command
  // line of each launcher in its helpKeyword, and binds the handlers.
  void Build(ui::Widget& parent);

  // System monitor (monitor.cpp): the main window's Timer1 calls it every second.
  void Timer1Timer();

  // Launchers (launchers.cpp). The quick links, "Power", the date-and-time footer and the
  // power row start the command line their control carries.
  void QLClick(ui::Widget& sender);
  void PowControlClick(ui::Widget& sender);
  void txtRunKeyPress(char& key);
  void Label21Click();
  void BitBtn5Click();
  void btnHomeClick();

  // Dark mode (night_mode.cpp): switches the screen-dimming overlay on and off.
  void btn1Click();

  ui::Panel Panel2;

  // Header band
  ui::Panel headerBand;
  ui::PictureBox Icon;
  ui::Label title;
  ui::Label Label7;
  ui::Button btnHome, btnAbout, btnDonate, btnUpdate, spdSupport, btnMore;

  // Monitor box
  ui::Panel monitorBox;
  ui::ProgressBar pbMem, pbPow;
  ui::Label capRAM, capPow;
  ui::Button BitBtn5;   // "RAM"
  ui::Button Label14;   // "Power"
  ui::Label Label11;    // "Uptime"
  ui::Label Label13;    // the uptime text

  // Quick links
  ui::Panel quickLinksBand;
  ui::Label Label19;
  ui::Button BitBtn6, BitBtn7, BitBtn13, BitBtn8, BitBtn9, BitBtn10, BitBtn11, BitBtn12;

  // Run box
  ui::Panel runBand;
  ui::Label Label21;
  ui::Edit txtRun;

  // Dark mode
  ui::Button btn1;

  // Power row
  ui::Button BitBtn15, pcShut, pcRest, pcSleep, pcHib, pcLock;

  // Footer band
  ui::Panel footerBand;
  ui::Label lblToday;

 private:
  void BindHandlers();
};

}  // namespace zel::dashboard
