// The program's controls: thin wrappers over the standard Win32 and common controls (and a
// few owner-drawn ones for the skin), each exposing its events as fields.
#pragma once
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "ui/widget.h"

namespace zel::ui {

// A container window painted in its colour, optionally with a lowered inner bevel.
class Panel : public Widget {
 public:
  void Create(Widget& parent, const Rect& r, const std::string& caption = "", COLORREF colour = kInherit,
              bool loweredBevel = false);
  Event onClick;
  Event onDblClick;

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  void Paint(HDC dc, const RECT& client) override;

 private:
  bool bevel_ = false;
};

enum class Align { Left, Centre, Right };

class Label : public Widget {
 public:
  void Create(Widget& parent, const Rect& r, const std::string& caption, Align align = Align::Left,
              bool wordWrap = false);
  void SetHandCursor(bool hand) { hand_ = hand; }
  Event onClick;
  Event onDblClick;

 protected:
  bool OnCommand(WORD code) override;
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  bool hand_ = false;
};

enum class GlyphLayout { Left, Top, Only };

// A flat owner-drawn button: push button, glyph button or speed button (grouped, with a
// down state). Picture-only buttons carry their hint as window text so that screen readers
// and automation can name them; only the caption is drawn.
class Button : public Widget {
 public:
  void Create(Widget& parent, const Rect& r, const std::string& caption, Glyph glyph = Glyph::None,
              GlyphLayout layout = GlyphLayout::Left);
  void SetGlyph(Glyph glyph, GlyphLayout layout);
  void SetGlyphSize(int pixels) { glyphSize_ = pixels; Invalidate(); }
  Glyph glyph() const { return glyph_; }
  // Speed-button behaviour: buttons of one parent with the same non-zero group index are
  // exclusive; allowAllUp lets a down button be raised by a click.
  void SetGroup(int groupIndex, bool allowAllUp = false) { group_ = groupIndex; allowAllUp_ = allowAllUp; }
  bool Down() const { return down_; }
  void SetDown(bool down);
  void SetFlatColours(COLORREF face, COLORREF text) { faceColour_ = face; SetFontColour(text); }
  // The look while down or pressed; kInherit text keeps the font colour.
  void SetDownColours(COLORREF face, COLORREF text) { downFace_ = face; downText_ = text; Invalidate(); }
  // Clicks the button as the user would (speed-button state first, then onClick).
  void Click();
  Event onClick;

 protected:
  bool OnCommand(WORD code) override;
  bool OnDrawItem(DRAWITEMSTRUCT* item) override;
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  Glyph glyph_ = Glyph::None;
  GlyphLayout layout_ = GlyphLayout::Left;
  int glyphSize_ = 0;
  int group_ = 0;
  bool allowAllUp_ = false;
  bool down_ = false;
  bool hot_ = false;
  bool captionDrawn_ = true;
  COLORREF faceColour_ = kInherit;
  COLORREF downFace_ = skin::kButtonPressed;
  COLORREF downText_ = kWhite;
};

class Edit : public Widget {
 public:
  void Create(Widget& parent, const Rect& r, const std::string& text = "", bool readOnly = false, bool flat = false);
  void SetReadOnly(bool readOnly);
  // Called for every character typed; setting the key to 0 swallows it.
  std::function<void(char& key)> onKeyPress;
  std::function<void(WORD vk)> onKeyDown;
  Event onChange;
  Event onExit;

 protected:
  bool OnCommand(WORD code) override;
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
};

class ComboBox : public Widget {
 public:
  // `editable`: a drop-down with an edit part; otherwise a pick-only list.
  void Create(Widget& parent, const Rect& r, bool editable, const std::vector<std::string>& items = {});
  void SetItems(const std::vector<std::string>& items);
  std::vector<std::string> Items() const;
  void Clear();
  void Add(const std::string& item);
  int Count() const;
  std::string Item(int index) const;
  int ItemIndex() const;
  void SetItemIndex(int index);     // does not fire onChange
  int IndexOfText(const std::string& text) const;  // case-insensitive, -1 when absent
  // The text: the selected item of a pick-only list (empty without selection), or the edit part.
  std::string Text() const;
  Event onChange;   // the user picked an item or typed
  Event onEnter;    // the control received the focus

 protected:
  bool OnCommand(WORD code) override;

 private:
  bool editable_ = false;
};

class ListBox : public Widget {
 public:
  void Create(Widget& parent, const Rect& r, bool sorted, int columns = 0);
  void SetItems(const std::vector<std::string>& items);
  std::vector<std::string> Items() const;
  void Clear();
  int Add(const std::string& item);
  int Count() const;
  std::string Item(int index) const;
  int ItemIndex() const;
  void SetItemIndex(int index);
  Event onDblClick;
  Event onChange;

 protected:
  bool OnCommand(WORD code) override;
};

class CheckBox : public Widget {
 public:
  void Create(Widget& parent, const Rect& r, const std::string& caption, bool checked = false);
  bool Checked() const;
  void SetChecked(bool checked);
  Event onClick;

 protected:
  bool OnCommand(WORD code) override;
};

class ProgressBar : public Widget {
 public:
  void Create(Widget& parent, const Rect& r, bool vertical, COLORREF bar = kPanelBlue);
  void SetPosition(int position);   // clamped to 0..100
  int Position() const;
};

// A number box: an edit with up and down arrows, its value kept within [min, max]. A text
// that is not a number reads as the minimum; the text is brought into range when the box
// loses the focus or is set from code.
class SpinEdit : public Widget {
 public:
  ~SpinEdit() override;
  void Create(Widget& parent, const Rect& r, int minValue, int maxValue, int value);
  int Value() const;
  void SetValue(int value);        // fires onChange when the text changes
  int MinValue() const { return min_; }
  int MaxValue() const { return max_; }
  Event onChange;

 protected:
  bool OnCommand(WORD code) override;
  bool OnNotify(NMHDR* header, LRESULT& result) override;
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  void ApplyLayout(const Scale& s) override;

 private:
  int Clamp(int v) const { return v < min_ ? min_ : (v > max_ ? max_ : v); }
  void Step(int delta);
  HWND updown_ = nullptr;
  int min_ = 0, max_ = 0;
};

class DateTimePicker : public Widget {
 public:
  enum class Kind { Date, Time };
  void Create(Widget& parent, const Rect& r, Kind kind);
  SYSTEMTIME Value() const;
  void SetValue(const SYSTEMTIME& t);
  Event onChange;

 protected:
  bool OnNotify(NMHDR* header, LRESULT& result) override;
};

class GroupBox : public Widget {
 public:
  void Create(Widget& parent, const Rect& r, const std::string& caption);

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
};

// A picture box showing an icon (centred, optionally scaled down to fit) or nothing. It owns
// the icon it shows and releases it when replaced.
class PictureBox : public Widget {
 public:
  void Create(Widget& parent, const Rect& r, bool stretch = false);
  void SetIcon(HICON icon);     // takes ownership; nullptr empties the box
  HICON Icon() const { return icon_; }
  void SetGlyph(Glyph glyph, COLORREF colour);
  Event onDblClick;
  Event onClick;
  ~PictureBox() override;

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  void Paint(HDC dc, const RECT& client) override;

 private:
  HICON icon_ = nullptr;
  Glyph glyph_ = Glyph::None;
  COLORREF glyphColour_ = kWhite;
  bool stretch_ = false;
};

class Bevel : public Widget {
 public:
  void Create(Widget& parent, const Rect& r);

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
};

// Pages stacked in one place; only the active one is visible. With tabs hidden the program
// switches pages itself; with tabs shown it is a tab control the user clicks.
class PageControl : public Widget {
 public:
  void Create(Widget& parent, const Rect& r, bool showTabs, int tabWidth = 0, int tabHeight = 0);
  // Adds a sheet; its children are laid out against the sheet's design size.
  Panel& AddSheet(const std::string& caption);
  int ActivePageIndex() const { return active_; }
  Panel* ActiveSheet() const { return active_ < 0 ? nullptr : sheets_[size_t(active_)].get(); }
  void SetActiveSheet(const Panel* sheet);
  void SetActivePage(int index);
  Panel& Sheet(int index) { return *sheets_[size_t(index)]; }
  int SheetCount() const { return int(sheets_.size()); }
  // Design size of a sheet's client area (what its children's rectangles refer to).
  Rect SheetDesignRect() const;
  Event onChange;

 protected:
  bool OnNotify(NMHDR* header, LRESULT& result) override;
  void ApplyLayout(const Scale& s) override;
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  void PlaceSheet(Panel& sheet);
  bool tabs_ = false;
  int tabHeight_ = 0;
  int active_ = -1;
  std::vector<std::unique_ptr<Panel>> sheets_;
};

// A message-loop timer. An interval of 0 never fires.
class Timer {
 public:
  Timer() = default;
  ~Timer();
  Timer(const Timer&) = delete;
  Timer& operator=(const Timer&) = delete;
  void SetInterval(UINT ms);
  UINT Interval() const { return interval_; }
  void SetEnabled(bool enabled);
  bool Enabled() const { return enabled_; }
  Event onTimer;

 private:
  void Restart();
  UINT interval_ = 1000;
  bool enabled_ = false;
  UINT_PTR id_ = 0;
};

struct MenuItem {
  std::string caption;
  Event onClick;
};

// A context menu shown at a screen point; the chosen item's handler runs before Show returns.
class PopupMenu {
 public:
  std::vector<MenuItem> items;
  void Show(HWND owner, POINT screen);
};

}  // namespace zel::ui

namespace zel::ui {

// A panel-blue band with a white bold caption: the header of every tool page.
void CreateBand(Panel& band, Label& caption, Widget& parent, const Rect& r, const std::string& text,
                Align align = Align::Left);

}  // namespace zel::ui
