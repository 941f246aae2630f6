#include "core/system.h"

#include <windows.h>
#include <tlhelp32.h>

#include "core/seams.h"

namespace zel {

uint32_t IdleSeconds() {
  Clock& clock = *services().clock;
  return (clock.TickCount() - clock.LastInputTick()) / 1000;
}

void TrimAllWorkingSets() {
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return;
  PROCESSENTRY32 entry{};
  entry.dwSize = sizeof(entry);
  for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry)) {
    HANDLE process = OpenProcess(PROCESS_SET_QUOTA, FALSE, entry.th32ProcessID);
    if (!process) continue;
    SetProcessWorkingSetSize(process, static_cast<SIZE_T>(-1), static_cast<SIZE_T>(-1));
    CloseHandle(process);
  }
  CloseHandle(snapshot);
}

ProcessMemory ProcessMemoryNow() {
  // The call lives in kernel32 from Windows 7 on and in psapi.dll before, so it is found at run time.
  struct Counters {
    DWORD cb, PageFaultCount;
    SIZE_T PeakWorkingSetSize, WorkingSetSize, QuotaPeakPagedPoolUsage, QuotaPagedPoolUsage,
        QuotaPeakNonPagedPoolUsage, QuotaNonPagedPoolUsage, PagefileUsage, PeakPagefileUsage;
  } counters{sizeof(Counters)};
  using Fn = BOOL(WINAPI*)(HANDLE, Counters*, DWORD);
  Fn fn = reinterpret_cast<Fn>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "K32GetProcessMemoryInfo")));
  if (!fn) {
    HMODULE psapi = LoadLibraryA("psapi.dll");
    fn = psapi ? reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(psapi, "GetProcessMemoryInfo"))) : nullptr;
  }
  if (!fn || !fn(GetCurrentProcess(), &counters, sizeof(counters))) return {};
  return {counters.WorkingSetSize, counters.PeakWorkingSetSize};
}

int MemoryLoadPercent() {
  MEMORYSTATUSEX status{};
  status.dwLength = sizeof(status);
  return GlobalMemoryStatusEx(&status) ? int(status.dwMemoryLoad) : 0;
}

int BatteryLifePercent() {
  SYSTEM_POWER_STATUS status{};
  return GetSystemPowerStatus(&status) ? int(status.BatteryLifePercent) : 255;
}

namespace {
char LocaleChar(LCTYPE type, char fallback) {
  char buffer[8] = {};
  return GetLocaleInfoA(LOCALE_USER_DEFAULT, type, buffer, sizeof(buffer)) > 1 ? buffer[0] : fallback;
}
}  // namespace

char DateSeparator() { return LocaleChar(LOCALE_SDATE, '/'); }
char TimeSeparator() { return LocaleChar(LOCALE_STIME, ':'); }

}  // namespace zel
