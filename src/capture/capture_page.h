// The Screen Capture page: capture buttons, output choices and the editing bar.
#pragma once
#include "ui/controls.h"

namespace zel::capture {

class CapturePage {
 public:
  void Build(ui::Panel& sheet);

  // The number of steps the preview's undo list keeps.
  void SetUndoLimit(int steps) { undoLimit_ = steps; }
  int UndoLimit() const { return undoLimit_; }

  ui::Panel previewArea;
  ui::GroupBox GroupBox1;
  ui::Button scDesktop, scActWindow;
  ui::GroupBox GroupBox2;
  ui::Button BitBtn22, BitBtn4;
  ui::Panel GroupBox15;
  ui::Panel band;
  ui::Label Label12;

 private:
  int undoLimit_ = 0;
};

}  // namespace zel::capture
