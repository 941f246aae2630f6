// Starting programs and asking the shell to open things. Both go through the launcher seam.
#pragma once
#include <windows.h>

#include <string>

namespace zel {

// Starts `commandLine` as a new process (an empty program name lets the system take the
// program from the command line). Raises "System Error.  Code: %d.\r\n%s" when it cannot start.
void RunCommandLine(const std::string& program, const std::string& commandLine, bool wait);

// ShellExecute with the given verb (empty: the default action); the result is not examined.
void ShellOpen(HWND owner, const std::string& file, const std::string& parameters = "", int show = SW_SHOWNORMAL,
               const std::string& verb = "");

}  // namespace zel
