// TfrmNMode: the dark-mode overlay. A borderless black window at alpha 150 that covers its
// monitor, stays in the topmost band and lets every mouse action through to the windows
// beneath, so the user goes on working under a dimmer screen. One overlay serves the whole
// program: it is created at the first switch-on and kept until the last main window closes.
#pragma once
#include <windows.h>

#include "ui/controls.h"

namespace zel::dashboard {

class TfrmNMode : public ui::Widget {
 public:
  // The extended style of the overlay: layered and mouse-transparent, nothing else.
  static constexpr DWORD kExStyle = WS_EX_LAYERED | WS_EX_TRANSPARENT;
  static constexpr BYTE kAlpha = 150;
  static constexpr UINT kInterval = 100;   // ms between two checks of size and z-order

  // Creates the (hidden) window, owned by `owner`; runs FormCreate.
  explicit TfrmNMode(HWND owner);

  void FormCreate();
  // Keeps the overlay maximised over its monitor and in the topmost band, without ever
  // activating it (the user's keyboard focus stays where it is).
  void Timer1Timer();

  // Dark mode on: the timer runs and the overlay shows. Off: the timer stops, the overlay hides.
  void SwitchOn();
  void SwitchOff();

  ui::Timer Timer1;

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
};

// The program's one overlay; nullptr until dark mode is first switched on.
TfrmNMode* frmNMode();
// The overlay, created at first use.
TfrmNMode& NightModeWindow();
// Destroys the overlay (when the last main window goes).
void ReleaseNightMode();

}  // namespace zel::dashboard
