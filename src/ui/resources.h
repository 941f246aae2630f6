// Shared GDI objects: fonts and brushes are created once per look and kept for the run.
#pragma once
#include <windows.h>

#include "ui/widget.h"

namespace zel::ui {

HFONT GetFont(const FontSpec& spec, double scale);
HBRUSH GetBrush(COLORREF colour);
HPEN GetPen(COLORREF colour, int width = 1);

}  // namespace zel::ui
