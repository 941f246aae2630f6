// The start-up benchmark's yardstick: the smallest Win32 program that shows a window. It
// writes the milliseconds from process creation to its first paint to the file named by
// ZELVANE_STARTUP_PROBE and closes, as Zelvane.exe does with the same variable.
#include <windows.h>

#include <cstdint>
#include <string>

static double MillisecondsSinceProcessStart() {
  FILETIME created, exited, kernel, user, now;
  GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
  GetSystemTimeAsFileTime(&now);
  auto ticks = [](const FILETIME& f) { return (uint64_t(f.dwHighDateTime) << 32) | f.dwLowDateTime; };
  return double(ticks(now) - ticks(created)) / 10000.0;
}

static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_PAINT) {
    PAINTSTRUCT ps;
    BeginPaint(hwnd, &ps);
    EndPaint(hwnd, &ps);
    char path[MAX_PATH] = {};
    if (GetEnvironmentVariableA("ZELVANE_STARTUP_PROBE", path, MAX_PATH)) {
      std::string text = std::to_string(MillisecondsSinceProcessStart()) + "\n";
      HANDLE h = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
      DWORD written = 0;
      WriteFile(h, text.data(), DWORD(text.size()), &written, nullptr);
      CloseHandle(h);
      PostMessageA(hwnd, WM_CLOSE, 0, 0);
    }
    return 0;
  }
  if (msg == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcA(hwnd, msg, wp, lp);
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = Proc;
  wc.hInstance = instance;
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszClassName = "TrivialWindow";
  RegisterClassA(&wc);
  HWND hwnd = CreateWindowA("TrivialWindow", "Trivial", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT, 916, 678,
                            nullptr, nullptr, instance, nullptr);
  ShowWindow(hwnd, SW_SHOWNORMAL);
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
  return 0;
}
