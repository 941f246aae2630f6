#include "ui/resources.h"

#include <map>
#include <tuple>

#include "ui/layout.h"

namespace zel::ui {

HFONT GetFont(const FontSpec& spec, double scale) {
  using Key = std::tuple<std::string, int, bool, bool, bool>;
  static std::map<Key, HFONT> fonts;
  int height = FontHeight(spec.points, scale);
  Key key{spec.face, height, spec.bold, spec.italic, spec.underline};
  auto it = fonts.find(key);
  if (it != fonts.end()) return it->second;
  std::string face = ResolveFontFace(spec.face);
  HFONT font = CreateFontA(height, 0, 0, 0, spec.bold ? FW_BOLD : FW_NORMAL, spec.italic, spec.underline, FALSE,
                           DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY,
                           DEFAULT_PITCH | FF_DONTCARE, face.c_str());
  fonts.emplace(key, font);
  return font;
}

HBRUSH GetBrush(COLORREF colour) {
  static std::map<COLORREF, HBRUSH> brushes;
  auto it = brushes.find(colour);
  if (it != brushes.end()) return it->second;
  HBRUSH b = CreateSolidBrush(colour);
  brushes.emplace(colour, b);
  return b;
}

HPEN GetPen(COLORREF colour, int width) {
  static std::map<std::pair<COLORREF, int>, HPEN> pens;
  auto key = std::make_pair(colour, width);
  auto it = pens.find(key);
  if (it != pens.end()) return it->second;
  HPEN p = CreatePen(PS_SOLID, width, colour);
  pens.emplace(key, p);
  return p;
}

}  // namespace zel::ui
