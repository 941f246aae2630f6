// A top-level window of the program: proportional scaling of all its controls against the
// design client size, the tool tips of its controls, and the form events (create is the
// constructor of the derived class; show, activate, resize and close are events).
#pragma once
#include "ui/widget.h"

namespace zel::ui {

enum class CloseAction { None, Hide, Free };

struct FormSpec {
  const char* className = "ZelForm";
  std::string caption;
  int designClientWidth = 0;   // the size the layout tables are written for
  int designClientHeight = 0;
  int outerWidth = 0;          // initial outer size at 96 dots per inch, centred on the work area
  int outerHeight = 0;
  int minOuterWidth = 0;
  int minOuterHeight = 0;
  DWORD style = WS_OVERLAPPEDWINDOW;
  DWORD exStyle = 0;
  HWND owner = nullptr;
  HICON icon = nullptr;
};

class Form : public Widget {
 public:
  Form() = default;
  ~Form() override;

  void Create(const FormSpec& spec);
  void Show();
  void Hide();
  void Close();
  bool IsShown() const { return hwnd_ && IsWindowVisible(hwnd_); }

  Scale CurrentScale() const { return scale_; }
  HWND TooltipWindow() const { return tooltip_; }

  // Double-buffered painting of the form's own surfaces.
  void SetDoubleBuffered(bool on) { doubleBuffered_ = on; }
  bool DoubleBuffered() const { return doubleBuffered_; }

  // Runs the layout again for the current client size.
  void Relayout();

  Event onShow;
  // The form became the program's focused window: at its first activation and whenever the
  // focus comes back to it from another window of the program.
  Event onActivate;
  Event onResize;
  std::function<void(CloseAction&)> onClose;
  Event onDestroy;
  // Messages the form does not handle itself (the shell's drop message, the tray's callback).
  std::function<bool(UINT, WPARAM, LPARAM, LRESULT&)> onMessage;

  // The default close action: Free destroys the window, Hide only hides it.
  CloseAction closeAction = CloseAction::Free;

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  int designW_ = 0, designH_ = 0, minW_ = 0, minH_ = 0;
  Scale scale_;
  HWND tooltip_ = nullptr;
  bool doubleBuffered_ = false;
  bool activatedOnce_ = false;
  bool lostFocusToOwnWindow_ = false;
};

// The dots-per-inch factor of the screen (1.0 at 96 dpi).
double ScreenDpiScale();

}  // namespace zel::ui
