// The three seams through which tests replace the outside world: modal prompts, starting
// processes and shell-execute, and the clock. Everything else (registry, files, shell
// notifications, icons, clipboard, tray, timers) is always real.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace zel {

enum class MessageKind { Information, Warning, Error };

// A file-open dialog's settings. The dialog objects of the pages keep one of these so that
// the start folder and the chosen names persist between uses where the program wants that.
struct OpenDialogSpec {
  std::string title;
  std::string filter;          // "Description|*.a;*.b|..."
  int filterIndex = 1;         // 1-based, as the common dialog counts
  std::string initialDir;
  std::string fileName;        // the name shown in the dialog's file box when it opens
  std::string defaultExt;
  bool multiSelect = false;
  bool hideReadOnly = true;
  bool hidePlacesBar = false;
  bool picturePreview = false;  // a pane beside the file list shows the selected picture
};

class Prompter {
 public:
  virtual ~Prompter() = default;
  // A modal box with one OK button, captioned with the application title.
  virtual void Message(HWND owner, const std::string& text, MessageKind kind) = 0;
  // A Yes/No question; true for Yes.
  virtual bool Confirm(HWND owner, const std::string& text) = 0;
  // The input box; returns the default text when cancelled.
  virtual std::string InputBox(HWND owner, const std::string& caption, const std::string& prompt,
                               const std::string& defaultText) = 0;
  // An open-file dialog; fills `files` with the chosen full paths and returns false when cancelled.
  virtual bool OpenFiles(HWND owner, OpenDialogSpec& spec, std::vector<std::string>& files) = 0;
  // The shell's folder browser (file-system folders only); false when cancelled.
  virtual bool BrowseFolder(HWND owner, const std::string& caption, const std::string& startFolder,
                            std::string& folder) = 0;
  // The application's error box: stop icon, OK button, captioned with the application title.
  virtual void ErrorBox(HWND owner, const std::string& text) = 0;
};

class Launcher {
 public:
  virtual ~Launcher() = default;
  // Starts a process (CreateProcess semantics: an empty program takes it from the command
  // line). Raises "System Error.  Code: %d.\r\n%s" when it cannot be started.
  virtual void StartProcess(const std::string& program, const std::string& commandLine, bool wait) = 0;
  // ShellExecute; the result is not examined by any caller.
  virtual void ShellExecuteFile(HWND owner, const std::string& verb, const std::string& file,
                            const std::string& parameters, const std::string& directory, int show) = 0;
};

class Clock {
 public:
  virtual ~Clock() = default;
  virtual SYSTEMTIME Now() = 0;            // local date and time
  virtual uint32_t TickCount() = 0;        // milliseconds since the system started, wrapping
  virtual uint32_t LastInputTick() = 0;    // tick count of the user's last input
};

struct Services {
  Prompter* prompts;
  Launcher* launcher;
  Clock* clock;
};

// The services in effect. Production code uses the real ones; tests swap in their own.
Services& services();
Launcher& RealLauncher();
Clock& RealClock();

}  // namespace zel
