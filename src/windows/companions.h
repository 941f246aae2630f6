// The companion windows: about, donation, more software, support, update checker.
#pragma once
#include <windows.h>

namespace zel::windows {

// The donation reminder that opens at start-up unless the user switched it off.
void ShowStartupReminder(HWND owner);

}  // namespace zel::windows
