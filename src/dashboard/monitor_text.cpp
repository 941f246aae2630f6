#include "dashboard/monitor_text.h"

#include <cstdio>

namespace zel::dashboard {

namespace {
constexpr uint32_t kSecond = 1000;
constexpr uint32_t kMinute = 60 * kSecond;
constexpr uint32_t kHour = 60 * kMinute;
constexpr uint32_t kDay = 24 * kHour;

bool KnownCharge(int percent) { return percent >= 0 && percent <= 100; }
}  // namespace

std::string DurationText(uint32_t t) {
  // Unsigned arithmetic throughout: counts above 2^31 must not turn negative.
  uint32_t days = t / kDay;
  uint32_t hours = (t % kDay) / kHour;
  uint32_t minutes = (t % kHour) / kMinute;
  uint32_t seconds = (t % kMinute) / kSecond;
  return std::to_string(days) + " Day(s) \r\r" + std::to_string(hours) + " hour(s) \r\r" +
         std::to_string(minutes) + " minute(s) \r\r" + std::to_string(seconds) + " second(s)";
}

std::string DateTimeText(int year, int month, int day, int hour, int minute, char dateSeparator,
                         char timeSeparator) {
  char text[48];
  std::snprintf(text, sizeof(text), "%02d%c%02d%c%04d  %02d%c%02d", month, dateSeparator, day, dateSeparator, year,
                hour, timeSeparator, minute);
  return text;
}

std::string PercentText(int percent) { return std::to_string(percent) + "%"; }

std::string BatteryText(int percent) { return KnownCharge(percent) ? PercentText(percent) : "N/A"; }

int BatteryBarPosition(int percent) { return KnownCharge(percent) ? percent : 0; }

}  // namespace zel::dashboard
