// Test support for the Windows tests: scripted prompts, recorded process starts, a settable
// clock, temporary folders and registry keys, and a fixture that runs the real main window.
#pragma once
#include <windows.h>

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/main_form.h"
#include "core/seams.h"

namespace zel::test {

// Answers prompts from scripts and records every text that was shown.
class FakePrompter : public Prompter {
 public:
  struct Shown {
    std::string kind;   // "message", "confirm", "input", "open", "folder", "error"
    std::string text;   // the message, question, prompt, dialog title or error text
    std::string caption;
  };
  std::vector<Shown> shown;
  std::deque<bool> confirmAnswers;              // default: No
  std::deque<std::string> inputAnswers;         // default: cancel (the default text comes back)
  std::deque<std::vector<std::string>> openAnswers;   // default: cancel
  std::deque<std::string> folderAnswers;        // default: cancel
  std::vector<OpenDialogSpec> openSpecs;        // the dialogs as they were opened
  std::vector<std::string> folderStarts;
  // Runs after each prompt closes, as the main window's re-activation does in the program.
  std::function<void()> afterModal;

  void Message(HWND owner, const std::string& text, MessageKind kind) override;
  bool Confirm(HWND owner, const std::string& text) override;
  std::string InputBox(HWND owner, const std::string& caption, const std::string& prompt,
                       const std::string& defaultText) override;
  bool OpenFiles(HWND owner, OpenDialogSpec& spec, std::vector<std::string>& files) override;
  bool BrowseFolder(HWND owner, const std::string& caption, const std::string& startFolder,
                    std::string& folder) override;
  void ErrorBox(HWND owner, const std::string& text) override;

  std::vector<std::string> Errors() const;
  std::vector<std::string> Messages() const;

 private:
  void Closed();
};

// Records process starts and shell-execute requests; nothing real is started.
class FakeLauncher : public Launcher {
 public:
  struct Started {
    std::string program, commandLine;
    bool wait;
  };
  struct Executed {
    std::string verb, file, parameters, directory;
    int show;
  };
  std::vector<Started> started;
  std::vector<Executed> executed;
  void StartProcess(const std::string& program, const std::string& commandLine, bool wait) override;
  void ShellExecuteFile(HWND owner, const std::string& verb, const std::string& file, const std::string& parameters,
                        const std::string& directory, int show) override;
};

class FakeClock : public Clock {
 public:
  SYSTEMTIME now{2016, 3, 6, 5, 14, 7, 0, 0};   // 5 March 2016, 14:07
  uint32_t tick = 1000;
  uint32_t lastInput = 1000;
  SYSTEMTIME Now() override { return now; }
  uint32_t TickCount() override { return tick; }
  uint32_t LastInputTick() override { return lastInput; }
};

// Installs the fakes for the lifetime of the object and restores the previous services.
class ScopedFakes {
 public:
  ScopedFakes();
  ~ScopedFakes();
  FakePrompter prompts;
  FakeLauncher launcher;
  FakeClock clock;

 private:
  Services saved_;
};

// A fresh folder under the temporary folder, removed with everything in it at the end.
class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  const std::string& path() const { return path_; }   // with a trailing backslash
  std::string operator/(const std::string& name) const { return path_ + name; }

 private:
  std::string path_;
};

// Deletes a registry key (with its subtree) now and again at the end of the test.
class ScopedRegistryKey {
 public:
  ScopedRegistryKey(HKEY root, std::string key);
  ~ScopedRegistryKey();

 private:
  HKEY root_;
  std::string key_;
};

std::string ExePathForTest();
void WriteTextFile(const std::string& path, const std::string& text);
std::string ReadTextFile(const std::string& path);
// Lets the message loop run for about `ms` milliseconds (timers fire, windows paint).
void Pump(int ms = 50);

// Runs the real main window with a temporary data folder and the fakes installed. The
// start-up donation reminder is switched off unless a test switches it on.
class FrameTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  // Creates and shows the main window (FormCreate, FormShow, FormActivate run).
  app::TfrmZelvane& StartFrame(const std::vector<std::string>& arguments = {});
  void CloseFrame();

  ScopedFakes fakes;
  TempFolder appDir;
  std::unique_ptr<app::TfrmZelvane> frame;
  std::vector<std::string> arguments_;

 private:
  std::unique_ptr<ScopedRegistryKey> supportKey_;
};

}  // namespace zel::test
