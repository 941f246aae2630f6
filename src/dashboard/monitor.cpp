// The system monitor: memory load, battery charge, uptime, date and time, refreshed every
// second by the main window's Timer1.
#include <windows.h>

#include "core/seams.h"
#include "core/system.h"
#include "dashboard/monitor_text.h"
#include "dashboard/side_panel.h"

namespace zel::dashboard {

std::string UptimeText() { return DurationText(services().clock->TickCount()); }

void SidePanel::Timer1Timer() {
  int battery = BatteryLifePercent();
  int memory = MemoryLoadPercent();
  pbMem.SetPosition(memory);
  pbPow.SetPosition(BatteryBarPosition(battery));
  capRAM.SetText(PercentText(memory));
  capPow.SetText(BatteryText(battery));
  Label13.SetText(UptimeText());
  SYSTEMTIME now = services().clock->Now();
  lblToday.SetText(
      DateTimeText(now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, DateSeparator(), TimeSeparator()));
}

}  // namespace zel::dashboard
