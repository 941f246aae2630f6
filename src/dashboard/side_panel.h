// The side panel of the main window: header band with the program's picture and the
// companion-window buttons, the monitor box, quick links, run box, dark-mode switch, power
// row and the date-and-time footer.
#pragma once
#include <functional>
#include <string>

#include "ui/controls.h"

namespace zel::dashboard {

class SidePanel {
 public:
  // Creates every control of the panel at its design place inside `parent`.
  void Build(ui::Widget& parent);
  // The monitor's tick (every second, driven by the main window's Timer1).
  void Timer1Timer();

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
};

}  // namespace zel::dashboard
