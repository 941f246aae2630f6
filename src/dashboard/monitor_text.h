// The texts of the side panel's monitor box and footer: uptime, percentages and the clock.
// Portable: no windows.h.
#pragma once
#include <cstdint>
#include <string>

namespace zel::dashboard {

// A millisecond count spelled out as days, hours, minutes and seconds, each on its own line
// with an empty line between them ("1 Day(s) \r\r1 hour(s) \r\r1 minute(s) \r\r1 second(s)").
// Parts of a second are dropped, never rounded.
std::string DurationText(uint32_t milliseconds);

// "mm/dd/yyyy  hh:MM" on the 24-hour clock, with `dateSeparator` in place of each "/" and
// `timeSeparator` in place of the ":".
std::string DateTimeText(int year, int month, int day, int hour, int minute, char dateSeparator,
                         char timeSeparator);

// A percentage caption: the number followed by "%".
std::string PercentText(int percent);

// The battery charge as the system reports it: 0 to 100, or 255 when the charge is unknown
// (no battery). An unknown charge reads "N/A" over an empty bar rather than "255%" over a
// full one.
constexpr int kBatteryUnknown = 255;
std::string BatteryText(int percent);
int BatteryBarPosition(int percent);

}  // namespace zel::dashboard
