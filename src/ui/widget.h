// The base of every window the program creates: forms, containers and controls.
//
// A Widget owns its HWND and is found from it through GWLP_USERDATA. Standard controls are
// subclassed, so every message of every widget passes one window procedure, which catches any
// error escaping a handler and shows the program's error box. Containers pass the
// notifications of their children (WM_COMMAND, WM_NOTIFY, colours, owner drawing) back to the
// child's object, so each control handles its own events.
#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "ui/layout.h"
#include "ui/skin.h"

namespace zel::ui {

class Form;

struct FontSpec {
  std::string face = "MS Sans Serif";
  int points = 8;
  bool bold = false;
  bool italic = false;
  bool underline = false;
  COLORREF colour = skin::kText;
};

using Event = std::function<void()>;

class Widget {
 public:
  Widget() = default;
  virtual ~Widget();
  Widget(const Widget&) = delete;
  Widget& operator=(const Widget&) = delete;

  HWND hwnd() const { return hwnd_; }
  Widget* parent() const { return parent_; }
  Form* form() const;
  const std::vector<Widget*>& children() const { return children_; }
  static Widget* FromHandle(HWND hwnd);

  // Design geometry, relative to the parent at the design size.
  const Rect& designRect() const { return design_; }
  void SetDesignRect(const Rect& r);

  std::string Text() const;
  void SetText(const std::string& text);

  bool Visible() const;
  void SetVisible(bool visible);
  bool Enabled() const;
  void SetEnabled(bool enabled);
  void SetFocus();
  void Invalidate();

  // Colours: kInherit takes the parent's. The font, when not set, is the parent's.
  void SetColour(COLORREF background);
  COLORREF Colour() const;
  void SetFont(const FontSpec& font);
  void SetFontColour(COLORREF colour);
  void SetBold(bool bold);
  const FontSpec& Font() const;

  // The tool tip shown when the pointer rests on the widget ("\r" breaks lines).
  void SetHint(const std::string& hint, bool show = true);
  const std::string& Hint() const { return hint_; }
  bool ShowHint() const { return showHint_; }

  // A number a shared handler reads to tell its senders apart.
  int tag = 0;
  // A text a shared launcher reads (a command line or an address).
  std::string helpKeyword;

  // Re-applies the scaled bounds and font of this widget and its children.
  virtual void ApplyLayout(const Scale& s);

 protected:
  // Creates the window as a child of `parent` (a standard control class is subclassed).
  void CreateChild(Widget& parent, const char* className, const std::string& text, DWORD style, DWORD exStyle,
                   const Rect& design);
  // Creates a top-level window of one of the program's own classes.
  void CreateTopLevel(const char* className, const std::string& text, DWORD style, DWORD exStyle, HWND owner,
                      int x, int y, int w, int h);
  static void RegisterClassOnce(const char* className, UINT classStyle = CS_DBLCLKS, HCURSOR cursor = nullptr,
                                HICON icon = nullptr);

  virtual LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp);
  LRESULT DefaultProc(UINT msg, WPARAM wp, LPARAM lp);

  // Reflected notifications; return true when handled.
  virtual bool OnCommand(WORD code) { return false; }
  virtual bool OnNotify(NMHDR* header, LRESULT& result) { return false; }
  virtual HBRUSH OnControlColour(HDC dc, UINT msg);
  virtual bool OnDrawItem(DRAWITEMSTRUCT* item) { return false; }
  virtual bool OnScroll(UINT msg, WPARAM wp) { return false; }

  void ApplyFont();
  HBRUSH BackgroundBrush() const;
  void PaintBackground(HDC dc);
  // Answers WM_PAINT by drawing Paint() on the whole client area, through a memory bitmap
  // when `buffered`.
  LRESULT PaintClient(bool buffered = true);
  virtual void Paint(HDC dc, const RECT& client) {}

  HWND hwnd_ = nullptr;
  Widget* parent_ = nullptr;
  std::vector<Widget*> children_;
  Rect design_;
  double fontScale_ = 1.0;

 private:
  static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  LRESULT Dispatch(UINT msg, WPARAM wp, LPARAM lp);
  void Detach();

  WNDPROC original_ = nullptr;
  COLORREF colour_ = kInherit;
  bool hasFont_ = false;
  FontSpec font_;
  std::string hint_;
  bool showHint_ = false;
  bool hintRegistered_ = false;
};

// The position a scroll-bar request (the low word of WM_HSCROLL or WM_VSCROLL) asks for on the
// bar `bar` of `hwnd`, moving by `line` and `page` from `pos` within 0 to `max`; false for a
// request that does not move (the end of a scroll).
bool ScrollRequestTarget(HWND hwnd, int bar, WORD request, int pos, int line, int page, int max, int& target);

// Shows the program's error box for an error that escaped a handler.
void ReportError(HWND owner, const std::string& message);

}  // namespace zel::ui
