// The Windows test program: initialises the control library as the program does and runs
// the tests. No real prompt ever opens: the fake prompter answers unless a test installs
// another one.
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include <gtest/gtest.h>

#include "test_support.h"

int main(int argc, char** argv) {
  INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES | ICC_DATE_CLASSES | ICC_TAB_CLASSES | ICC_PROGRESS_CLASS};
  InitCommonControlsEx(&icc);
  OleInitialize(nullptr);
  SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);
  ::testing::InitGoogleTest(&argc, argv);
  zel::test::ScopedFakes fakes;   // a safety net for tests that install none of their own
  int rc = RUN_ALL_TESTS();
  OleUninitialize();
  return rc;
}
