// The side panel's launchers. Each launching control carries its complete command line in
// helpKeyword; the shared handlers start what the clicked control carries, as stored, without
// waiting and without asking.
#include "core/process.h"
#include "core/system.h"
#include "dashboard/side_panel.h"
#include "ui/form.h"

namespace zel::dashboard {

namespace {
// The run box hands its text to the shell's run-dialog entry point; the prefix ends in a blank.
constexpr char kRunPrefix[] = "Rundll32 Shell32.dll,ShellExec_RunDLL ";
}  // namespace

void SidePanel::QLClick(ui::Widget& sender) { RunCommandLine("", sender.helpKeyword, false); }

void SidePanel::PowControlClick(ui::Widget& sender) { RunCommandLine("", sender.helpKeyword, false); }

void SidePanel::txtRunKeyPress(char& key) {
  if (key != '\r') return;
  // The text goes after the prefix exactly as typed: no quoting, no trimming. An empty box
  // still starts the prefix alone. The key is not swallowed and the text stays.
  RunCommandLine("", kRunPrefix + txtRun.Text(), false);
}

void SidePanel::Label21Click() {
  if (txtRun.Text().empty()) return;
  char key = '\r';
  txtRunKeyPress(key);
}

void SidePanel::BitBtn5Click() { TrimAllWorkingSets(); }

void SidePanel::btnHomeClick() {
  ui::Form* main = Panel2.form();
  ShellOpen(main ? main->hwnd() : nullptr, btnHome.helpKeyword, "", SW_SHOWNORMAL);
}

}  // namespace zel::dashboard
