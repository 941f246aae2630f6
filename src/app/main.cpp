// Program entry: initialise the controls library, set the prompts, create the main window
// and run the message loop until it closes.
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include "app/main_form.h"
#include "ui/prompts.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int show) {
  INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES | ICC_DATE_CLASSES | ICC_TAB_CLASSES | ICC_PROGRESS_CLASS};
  InitCommonControlsEx(&icc);
  OleInitialize(nullptr);
  zel::ui::InstallWindowsPrompter();
  int rc = 0;
  {
    zel::app::TfrmZelvane frmZelvane;
    ShowWindow(frmZelvane.hwnd(), show == SW_SHOWMINIMIZED || show == SW_MINIMIZE ? show : SW_SHOWNORMAL);
    SetForegroundWindow(frmZelvane.hwnd());
    rc = zel::ui::RunMessageLoop();
  }
  OleUninitialize();
  return rc;
}
