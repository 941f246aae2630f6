#include "core/process.h"

#include "core/seams.h"

namespace zel {

void RunCommandLine(const std::string& program, const std::string& commandLine, bool wait) {
  services().launcher->StartProcess(program, commandLine, wait);
}

void ShellOpen(HWND owner, const std::string& file, const std::string& parameters, int show, const std::string& verb) {
  services().launcher->ShellExecuteFile(owner, verb, file, parameters, "", show);
}

}  // namespace zel
