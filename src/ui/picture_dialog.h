// The picture dialog ("Browse Picture"): an open-file dialog whose filter offers every picture
// format the image engine reads. One instance on the main window serves the wallpaper
// categories, the logon page and the OEM logo; its options and chosen files persist between
// uses as each caller leaves them.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "core/seams.h"

namespace zel::ui {

class PictureDialog {
 public:
  PictureDialog();
  OpenDialogSpec spec;                // title "Browse Picture"; multiSelect/hideReadOnly set by callers
  std::vector<std::string> files;     // the chosen files of the last run (empty when cancelled)
  // Builds the filter afresh and shows the dialog; false when cancelled.
  bool Execute(HWND owner);
};

// The filter text: "Description (masks)|masks|..." with the rows of the formats this build
// reads, in the dialog's fixed order; masks the engine cannot read are left out.
std::string PictureFilter();

}  // namespace zel::ui
