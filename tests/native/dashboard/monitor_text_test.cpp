// The monitor's texts: uptime, clock and battery captions.
#include <gtest/gtest.h>

#include "dashboard/monitor_text.h"

namespace zel::dashboard {
namespace {

TEST(DurationText, SpellsOutDaysHoursMinutesAndWholeSeconds) {
  struct Case {
    uint32_t ms;
    const char* text;
  } cases[] = {
      {0, "0 Day(s) \r\r0 hour(s) \r\r0 minute(s) \r\r0 second(s)"},
      // one day, one hour, one minute, one second and one millisecond
      {86400000u + 3600000u + 60000u + 1000u + 1u, "1 Day(s) \r\r1 hour(s) \r\r1 minute(s) \r\r1 second(s)"},
      // parts of a second are dropped, not rounded
      {59999u, "0 Day(s) \r\r0 hour(s) \r\r0 minute(s) \r\r59 second(s)"},
      // above 2^31: no figure turns negative
      {3000000000u, "34 Day(s) \r\r17 hour(s) \r\r20 minute(s) \r\r0 second(s)"},
      // the last count before the 32-bit tick count wraps, and the text after the wrap
      {0xFFFFFFFFu, "49 Day(s) \r\r17 hour(s) \r\r2 minute(s) \r\r47 second(s)"},
      {uint32_t(0xFFFFFFFFu + 1001u), "0 Day(s) \r\r0 hour(s) \r\r0 minute(s) \r\r1 second(s)"},
      // no leading zeros on two-digit figures
      {10u * 86400000u + 23u * 3600000u + 59u * 60000u + 59999u,
       "10 Day(s) \r\r23 hour(s) \r\r59 minute(s) \r\r59 second(s)"},
  };
  for (const auto& c : cases) EXPECT_EQ(DurationText(c.ms), c.text) << c.ms;
}

TEST(DateTimeText, TwoDigitFieldsWithTheUsersSeparators) {
  struct Case {
    int year, month, day, hour, minute;
    char dateSep, timeSep;
    const char* text;
  } cases[] = {
      {2016, 3, 5, 14, 7, '/', ':', "03/05/2016  14:07"},
      {2016, 3, 5, 14, 7, '.', ':', "03.05.2016  14:07"},
      {2016, 3, 5, 14, 7, '-', '.', "03-05-2016  14.07"},
      // 24-hour clock, hours and minutes padded
      {2015, 12, 31, 0, 5, '/', ':', "12/31/2015  00:05"},
      {2015, 12, 31, 23, 59, '/', ':', "12/31/2015  23:59"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(DateTimeText(c.year, c.month, c.day, c.hour, c.minute, c.dateSep, c.timeSep), c.text) << c.text;
}

TEST(BatteryText, UnknownChargeReadsNotAvailableOverAnEmptyBar) {
  struct Case {
    int percent;
    const char* text;
    int bar;
  } cases[] = {{0, "0%", 0}, {57, "57%", 57}, {100, "100%", 100}, {kBatteryUnknown, "N/A", 0}};
  for (const auto& c : cases) {
    EXPECT_EQ(BatteryText(c.percent), c.text) << c.percent;
    EXPECT_EQ(BatteryBarPosition(c.percent), c.bar) << c.percent;
  }
}

}  // namespace
}  // namespace zel::dashboard
