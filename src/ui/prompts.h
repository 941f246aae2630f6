// The real modal prompts (message boxes, the input box, file and folder dialogs) and the
// message loop helpers.
#pragma once
#include "core/seams.h"

namespace zel::ui {

// The application title: the caption of every message box and of the error box.
inline constexpr char kAppTitle[] = "Zelvane";

// Installs the Windows prompter as the program's prompter (done once at start-up).
void InstallWindowsPrompter();
Prompter& WindowsPrompter();

// Runs the message loop until WM_QUIT.
int RunMessageLoop();
// Handles the messages that are waiting, then returns (keeps the window answering during
// long work on the GUI thread).
void ProcessMessages();

}  // namespace zel::ui
