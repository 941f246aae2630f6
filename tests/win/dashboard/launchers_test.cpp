// The launchers: quick links, "Power", the date-and-time footer, the power row, the run box,
// "RAM" and the home button. Every start is recorded by the fake launcher; nothing runs.
#include "test_support.h"

#include "core/error.h"

namespace zel::test {
namespace {

constexpr char kRunPrefix[] = "Rundll32 Shell32.dll,ShellExec_RunDLL ";

class Launchers : public FrameTest {
 protected:
  // A left click as the mouse gives it (the control turns it into its click notification).
  static void Click(ui::Widget& w) {
    SendMessageA(w.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    SendMessageA(w.hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
  }
  static void PressEnter(ui::Edit& e) { SendMessageA(e.hwnd(), WM_CHAR, '\r', 0); }
  std::vector<std::string> Started() const {
    std::vector<std::string> lines;
    for (const auto& s : fakes.launcher.started) {
      EXPECT_EQ(s.program, "");
      EXPECT_FALSE(s.wait);
      lines.push_back(s.commandLine);
    }
    return lines;
  }
  using Lines = std::vector<std::string>;
};

TEST_F(Launchers, EachControlStartsItsExactCommandLine) {
  auto& f = StartFrame();
  auto& s = f.side;
  struct Case {
    ui::Widget& control;
    const char* hint;
    const char* command;
  } cases[] = {
      {s.BitBtn6, "Control Panel", "Rundll32 Shell32.dll,Control_RunDLL"},
      {s.BitBtn7, "Computer Management", "mmc.exe compmgmt.msc"},
      {s.BitBtn13, "System Properties", "Rundll32 Shell32.dll,Control_RunDLL Sysdm.cpl,,3"},
      {s.BitBtn8, "Windows Mobility Center", "mblctr.exe"},
      {s.BitBtn9, "Folder Options", "Rundll32 Shell32.dll,Options_RunDLL"},
      {s.BitBtn10, "Network Connections", "RunDll32.exe shell32.dll,Control_RunDLL ncpa.cpl"},
      {s.BitBtn11, "Sound Volume", "sndvol.exe"},
      {s.BitBtn12, "Safely Remove Hardware", "RunDll32.exe shell32.dll,Control_RunDLL hotplug.dll"},
      {s.Label14, "Power Options", "RunDll32.exe Shell32.dll,Control_RunDLL powercfg.cpl"},
      {s.lblToday, "", "RunDll32.exe shell32.dll,Control_RunDLL timedate.cpl"},
      {s.BitBtn15, "Abort \"Shutdown\" or \"Restart\"", "shutdown /a"},
      {s.pcShut, "Shutdown\r( Timeout : 30 seconds )", "shutdown /s /t 30"},
      {s.pcRest, "Restart\r( Timeout : 30 seconds )", "shutdown /r /t 30"},
      {s.pcSleep, "Sleep", "rundll32.exe powrprof.dll,SetSuspendState 0,1,0"},
      {s.pcHib, "Hibernate\r( Note : if Hibernation mode was Disabled, your PC will be going to Sleep mode )",
       "RunDll32.exe powrprof.dll,SetSuspendState"},
      {s.pcLock, "Lock", "RunDll32.exe user32.dll,LockWorkStation"},
  };
  for (auto& c : cases) {
    fakes.launcher.started.clear();
    Click(c.control);
    EXPECT_EQ(Started(), Lines{c.command}) << c.hint;
    EXPECT_EQ(c.control.Hint(), c.hint);
  }
  // No confirmation is ever asked, and nothing goes through the shell.
  EXPECT_TRUE(fakes.prompts.shown.empty());
  EXPECT_TRUE(fakes.launcher.executed.empty());
}

TEST_F(Launchers, RunBoxPassesTheTextAsTypedAfterThePrefix) {
  auto& f = StartFrame();
  const std::string typed = " C:\\Program Files\\My Folder ";   // blanks kept, nothing quoted
  f.side.txtRun.SetText(typed);

  PressEnter(f.side.txtRun);
  Click(f.side.Label21);            // "RUN" acts as Enter when the box holds text
  SendMessageA(f.side.txtRun.hwnd(), EM_SETSEL, typed.size(), typed.size());
  SendMessageA(f.side.txtRun.hwnd(), WM_CHAR, 'x', 0);   // any other key is the edit's
  EXPECT_EQ(Started(), (Lines{kRunPrefix + typed, kRunPrefix + typed}));
  EXPECT_EQ(f.side.txtRun.Text(), typed + "x");
}

TEST_F(Launchers, EmptyRunBoxEnterStartsThePrefixAloneAndRunStartsNothing) {
  auto& f = StartFrame();
  Click(f.side.Label21);
  EXPECT_TRUE(fakes.launcher.started.empty());
  PressEnter(f.side.txtRun);
  EXPECT_EQ(Started(), Lines{kRunPrefix});
}

TEST_F(Launchers, ProgramThatCannotStartShowsTheSystemErrorAndTheWindowGoesOn) {
  struct MissingProgram : FakeLauncher {
    void StartProcess(const std::string&, const std::string&, bool) override {
      throw Error("System Error.  Code: 2.\r\nFile not found.");
    }
  } missing;
  auto& f = StartFrame();
  services().launcher = &missing;
  Click(f.side.BitBtn8);
  services().launcher = &fakes.launcher;
  EXPECT_EQ(fakes.prompts.Errors(), Lines{"System Error.  Code: 2.\r\nFile not found."});
  Click(f.side.BitBtn11);
  EXPECT_EQ(Started(), Lines{"sndvol.exe"});
}

TEST_F(Launchers, HomeOpensItsAddressWithTheShellAndRamStartsNothing) {
  auto& f = StartFrame();
  Click(f.side.btnHome);
  ASSERT_EQ(fakes.launcher.executed.size(), 1u);
  const auto& e = fakes.launcher.executed[0];
  EXPECT_EQ(e.file, f.side.btnHome.helpKeyword);
  EXPECT_TRUE(e.file.rfind("https://", 0) == 0) << e.file;
  EXPECT_EQ(e.verb, "");
  EXPECT_EQ(e.parameters, "");
  EXPECT_EQ(e.show, SW_SHOWNORMAL);

  Click(f.side.BitBtn5);   // "RAM" trims the working sets quietly
  EXPECT_TRUE(fakes.launcher.started.empty());
  EXPECT_TRUE(fakes.prompts.shown.empty());
}

}  // namespace
}  // namespace zel::test
