// The program's one built-in look: flat surfaces in panel blue with white captions, light
// pages, buttons without focus rectangles and without any animation.
#pragma once
#include <windows.h>

#include <string>

namespace zel::ui {

constexpr COLORREF kPanelBlue = RGB(0, 130, 218);   // the value 14320128 of the bands
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kSilver = RGB(192, 192, 192);
constexpr COLORREF kLightGrey = RGB(225, 225, 225);   // the value 14803425 of read-only fields
constexpr COLORREF kGreen = RGB(0, 128, 0);
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kNavy = RGB(0, 0, 128);
constexpr COLORREF kInherit = CLR_INVALID;           // take the parent's colour

namespace skin {
constexpr COLORREF kFace = RGB(244, 247, 251);        // window and page background
constexpr COLORREF kSidePanel = RGB(231, 238, 247);
constexpr COLORREF kButton = RGB(233, 240, 249);
constexpr COLORREF kButtonHot = RGB(214, 232, 252);
constexpr COLORREF kButtonPressed = RGB(0, 110, 190);
constexpr COLORREF kButtonBorder = RGB(160, 186, 216);
constexpr COLORREF kButtonBorderFocus = RGB(0, 130, 218);
constexpr COLORREF kText = RGB(24, 32, 44);
constexpr COLORREF kDisabledText = RGB(150, 158, 168);
constexpr COLORREF kBevelDark = RGB(170, 188, 210);
constexpr COLORREF kBevelLight = RGB(255, 255, 255);
}  // namespace skin

// The pictures of the skin's buttons, drawn as masks in the button's text colour.
enum class Glyph {
  None,
  AppLogo,
  Home, About, Donate, Update, Support, More,
  ControlPanel, ComputerManagement, SystemProperties, MobilityCenter,
  FolderOptions, NetworkConnections, SoundVolume, SafelyRemove,
  Abort, Shutdown, Restart, Sleep, Hibernate, Lock,
  DarkMode, Ram, Power,
  IconCustomizer, LogonScreen, ScreenCapture, Wallpaper, Extras,
  Add, Remove, Rename, Apply, Open, Save, Copy, Folder, Tray,
  ZoomIn, ZoomOut, Fit, ActualSize, Undo, Redo, Crop, Shadow, Test, Image, Load, Reset, Play, Stop,
};

// Draws `glyph` centred in `box` at `size` pixels in `colour`; nothing when the picture is missing.
void DrawGlyph(HDC dc, Glyph glyph, const RECT& box, int size, COLORREF colour);

// The font face actually used for a requested face: the bitmap face "MS Sans Serif" is drawn
// with its TrueType twin so that it scales smoothly with the window.
std::string ResolveFontFace(const std::string& face);

// Switches the visual theme off for one control so that its skin colours take effect.
void RemoveTheme(HWND hwnd);

}  // namespace zel::ui
