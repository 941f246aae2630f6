// System queries: idle time, memory and power status, working sets, regional separators.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

namespace zel {

// Whole seconds since the user's last keyboard or mouse input (unsigned arithmetic, so the
// wrap of the tick count does not matter).
uint32_t IdleSeconds();

// Removes as many pages as possible from the working set of every process that allows it.
void TrimAllWorkingSets();

// This process's working set and its peak, in bytes (both 0 when the system cannot tell).
struct ProcessMemory {
  size_t current = 0, peak = 0;
};
ProcessMemory ProcessMemoryNow();

int MemoryLoadPercent();      // 0..100
int BatteryLifePercent();     // 0..100, or 255 when unknown
char DateSeparator();         // from the user's regional settings
char TimeSeparator();

}  // namespace zel
