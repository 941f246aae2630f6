// The system monitor: what one tick of Timer1 shows, and where its figures come from.
#include "test_support.h"

#include "core/system.h"

namespace zel::test {
namespace {

class Monitor : public FrameTest {};

// Sets one of the user's regional separators for the test and puts the old one back.
class ScopedLocaleText {
 public:
  ScopedLocaleText(LCTYPE type, const char* value) : type_(type) {
    char old[16] = {};
    GetLocaleInfoA(LOCALE_USER_DEFAULT, type, old, sizeof(old));
    old_ = old;
    SetLocaleInfoA(LOCALE_USER_DEFAULT, type, value);
  }
  ~ScopedLocaleText() { SetLocaleInfoA(LOCALE_USER_DEFAULT, type_, old_.c_str()); }

 private:
  LCTYPE type_;
  std::string old_;
};

TEST_F(Monitor, TickShowsMemoryBatteryUptimeAndClock) {
  auto& f = StartFrame();
  fakes.clock.tick = 3000000000u;              // above 2^31
  fakes.clock.now = {2016, 3, 6, 5, 14, 7, 0, 0};
  f.side.Timer1Timer();

  EXPECT_EQ(f.side.Label13.Text(), "34 Day(s) \r\r17 hour(s) \r\r20 minute(s) \r\r0 second(s)");
  EXPECT_EQ(dashboard::UptimeText(), f.side.Label13.Text());
  EXPECT_EQ(f.side.lblToday.Text(), "03/05/2016  14:07");
  // Bar and caption show the same real reading.
  int memory = f.side.pbMem.Position();
  EXPECT_GT(memory, 0);
  EXPECT_EQ(f.side.capRAM.Text(), std::to_string(memory) + "%");
  // Wine reports an unknown charge (no battery): not "255%" under a full bar.
  ASSERT_EQ(BatteryLifePercent(), 255);
  EXPECT_EQ(f.side.capPow.Text(), "N/A");
  EXPECT_EQ(f.side.pbPow.Position(), 0);

  // The next tick follows the clock: the uptime wraps with the 32-bit tick count.
  fakes.clock.tick = 0xFFFFFFFFu + 2001u;
  fakes.clock.now = {2016, 12, 6, 31, 23, 59, 0, 0};
  f.side.Timer1Timer();
  EXPECT_EQ(f.side.Label13.Text(), "0 Day(s) \r\r0 hour(s) \r\r0 minute(s) \r\r2 second(s)");
  EXPECT_EQ(f.side.lblToday.Text(), "12/31/2016  23:59");
}

TEST_F(Monitor, DateAndTimeUseTheUsersRegionalSeparators) {
  auto& f = StartFrame();
  fakes.clock.now = {2016, 3, 6, 5, 14, 7, 0, 0};
  {
    ScopedLocaleText date(LOCALE_SDATE, ".");
    f.side.Timer1Timer();
    EXPECT_EQ(f.side.lblToday.Text(), "03.05.2016  14:07");
  }
  {
    ScopedLocaleText time(LOCALE_STIME, ".");
    f.side.Timer1Timer();
    EXPECT_EQ(f.side.lblToday.Text(), "03/05/2016  14.07");
  }
}

TEST_F(Monitor, TheMainWindowsTimerRefreshesThePanel) {
  auto& f = StartFrame();
  fakes.clock.tick = 61000;
  // Timer1 fires every second; wait for a tick to replace the start captions.
  for (int i = 0; i < 60 && f.side.lblToday.Text() == "-"; ++i) Pump(50);
  EXPECT_EQ(f.side.lblToday.Text(), "03/05/2016  14:07");
  EXPECT_EQ(f.side.Label13.Text(), "0 Day(s) \r\r0 hour(s) \r\r1 minute(s) \r\r1 second(s)");
  EXPECT_NE(f.side.capRAM.Text(), "0%");
}

}  // namespace
}  // namespace zel::test
