#include "test_support.h"

#include <shellapi.h>

#include <atomic>

#include "core/files.h"
#include "core/registry.h"
#include "ui/prompts.h"

namespace zel::test {

void FakePrompter::Closed() {
  if (afterModal) afterModal();
}

void FakePrompter::Message(HWND, const std::string& text, MessageKind kind) {
  shown.push_back({kind == MessageKind::Error ? "error-message" : "message", text, ""});
  Closed();
}

bool FakePrompter::Confirm(HWND, const std::string& text) {
  shown.push_back({"confirm", text, ""});
  bool answer = false;
  if (!confirmAnswers.empty()) {
    answer = confirmAnswers.front();
    confirmAnswers.pop_front();
  }
  Closed();
  return answer;
}

std::string FakePrompter::InputBox(HWND, const std::string& caption, const std::string& prompt,
                                   const std::string& defaultText) {
  shown.push_back({"input", prompt, caption});
  std::string answer = defaultText;
  if (!inputAnswers.empty()) {
    answer = inputAnswers.front();
    inputAnswers.pop_front();
  }
  Closed();
  return answer;
}

bool FakePrompter::OpenFiles(HWND, OpenDialogSpec& spec, std::vector<std::string>& files) {
  shown.push_back({"open", spec.title, ""});
  openSpecs.push_back(spec);
  files.clear();
  bool chosen = false;
  if (!openAnswers.empty()) {
    files = openAnswers.front();
    openAnswers.pop_front();
    chosen = !files.empty();
  }
  Closed();
  return chosen;
}

bool FakePrompter::BrowseFolder(HWND, const std::string& caption, const std::string& startFolder,
                                std::string& folder) {
  shown.push_back({"folder", caption, ""});
  folderStarts.push_back(startFolder);
  bool chosen = false;
  if (!folderAnswers.empty()) {
    folder = folderAnswers.front();
    folderAnswers.pop_front();
    chosen = !folder.empty();
  }
  Closed();
  return chosen;
}

void FakePrompter::ErrorBox(HWND, const std::string& text) {
  shown.push_back({"error", text, ""});
  Closed();
}

std::vector<std::string> FakePrompter::Errors() const {
  std::vector<std::string> r;
  for (const auto& s : shown)
    if (s.kind == "error") r.push_back(s.text);
  return r;
}

std::vector<std::string> FakePrompter::Messages() const {
  std::vector<std::string> r;
  for (const auto& s : shown)
    if (s.kind == "message" || s.kind == "error-message") r.push_back(s.text);
  return r;
}

void FakeLauncher::StartProcess(const std::string& program, const std::string& commandLine, bool wait) {
  started.push_back({program, commandLine, wait});
}

void FakeLauncher::ShellExecuteFile(HWND, const std::string& verb, const std::string& file,
                                    const std::string& parameters, const std::string& directory, int show) {
  executed.push_back({verb, file, parameters, directory, show});
}

ScopedFakes::ScopedFakes() : saved_(services()) { services() = Services{&prompts, &launcher, &clock}; }
ScopedFakes::~ScopedFakes() { services() = saved_; }

TempFolder::TempFolder() {
  static std::atomic<int> counter{0};
  path_ = TempDir() + "zelvane-test-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(counter++) +
          "-" + std::to_string(GetTickCount()) + "\\";
  ForceDirectories(path_);
}

TempFolder::~TempFolder() {
  // SHFileOperation needs a double-NUL-terminated list and no trailing backslash.
  std::string from = path_.substr(0, path_.size() - 1);
  from.push_back('\0');
  SHFILEOPSTRUCTA op{};
  op.wFunc = FO_DELETE;
  op.pFrom = from.c_str();
  op.fFlags = FOF_NOCONFIRMATION | FOF_NOERRORUI | FOF_SILENT;
  SHFileOperationA(&op);
}

ScopedRegistryKey::ScopedRegistryKey(HKEY root, std::string key) : root_(root), key_(std::move(key)) {
  DeleteRegKey(root_, key_);
}
ScopedRegistryKey::~ScopedRegistryKey() { DeleteRegKey(root_, key_); }

std::string ExePathForTest() { return ExePath(); }

void WriteTextFile(const std::string& path, const std::string& text) {
  HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE) << path;
  DWORD written = 0;
  WriteFile(h, text.data(), DWORD(text.size()), &written, nullptr);
  CloseHandle(h);
}

std::string ReadTextFile(const std::string& path) { return ReadWholeFile(path); }

void Pump(int ms) {
  DWORD end = GetTickCount() + DWORD(ms);
  do {
    ui::ProcessMessages();
    Sleep(5);
  } while (int(end - GetTickCount()) > 0);
}

void FrameTest::SetUp() {
  supportKey_ = std::make_unique<ScopedRegistryKey>(HKEY_CURRENT_USER, "Software\\Kestrom\\Support");
  WriteCUString("Software\\Kestrom\\Support", "19", "0");
}

app::TfrmZelvane& FrameTest::StartFrame(const std::vector<std::string>& arguments) {
  arguments_ = arguments;
  app::FrameOptions options;
  options.appDir = appDir.path();
  options.arguments = &arguments_;
  options.endsProgram = false;
  frame = std::make_unique<app::TfrmZelvane>(options);
  fakes.prompts.afterModal = [this] {
    if (frame && frame->IsShown()) frame->FormActivate();
  };
  frame->Show();
  Pump(30);
  return *frame;
}

void FrameTest::CloseFrame() {
  if (frame && frame->hwnd()) frame->Close();
  frame.reset();
}

void FrameTest::TearDown() {
  fakes.prompts.afterModal = nullptr;
  frame.reset();
  supportKey_.reset();
}

}  // namespace zel::test
