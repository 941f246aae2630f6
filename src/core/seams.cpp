#include "core/seams.h"

#include <shellapi.h>

#include "core/error.h"
#include "core/files.h"
#include "core/text.h"

namespace zel {

namespace {

class WindowsLauncher : public Launcher {
 public:
  void StartProcess(const std::string& program, const std::string& commandLine, bool wait) override {
    STARTUPINFOA si{};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi{};
    std::string line = commandLine;  // CreateProcessA may write into the command line
    if (!CreateProcessA(program.empty() ? nullptr : program.c_str(), line.data(), nullptr, nullptr, FALSE,
                        NORMAL_PRIORITY_CLASS, nullptr, nullptr, &si, &pi)) {
      DWORD code = GetLastError();
      throw Error(Format("System Error.  Code: %lu.\r\n%s", static_cast<unsigned long>(code),
                         SystemErrorText(code).c_str()));
    }
    if (wait) WaitForSingleObject(pi.hProcess, INFINITE);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
  }

  void ShellExecuteFile(HWND owner, const std::string& verb, const std::string& file, const std::string& parameters,
                    const std::string& directory, int show) override {
    auto opt = [](const std::string& s) { return s.empty() ? nullptr : s.c_str(); };
    ShellExecuteA(owner, opt(verb), file.c_str(), opt(parameters), opt(directory), show);
  }
};

class WindowsClock : public Clock {
 public:
  SYSTEMTIME Now() override {
    SYSTEMTIME t;
    GetLocalTime(&t);
    return t;
  }
  uint32_t TickCount() override { return GetTickCount(); }
  uint32_t LastInputTick() override {
    LASTINPUTINFO info{sizeof(info), 0};
    return GetLastInputInfo(&info) ? info.dwTime : GetTickCount();
  }
};

}  // namespace

Launcher& RealLauncher() {
  static WindowsLauncher launcher;
  return launcher;
}

Clock& RealClock() {
  static WindowsClock clock;
  return clock;
}

Services& services() {
  // The prompter is installed by the user-interface layer at start-up (ui::InstallPrompter).
  static Services s{nullptr, &RealLauncher(), &RealClock()};
  return s;
}

}  // namespace zel
