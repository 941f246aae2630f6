// Files and folders: the calls the tool pages make, with the program's error texts.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace zel {

bool FileExists(const std::string& path);        // an existing file (not a folder)
bool DirectoryExists(const std::string& path);
bool ForceDirectories(const std::string& path);  // creates the folder and missing parents
bool DeleteFileAt(const std::string& path);
bool RenameFileTo(const std::string& from, const std::string& to);
bool CopyFileNoOverwrite(const std::string& from, const std::string& to);
bool SetFileAttributesTo(const std::string& path, DWORD attributes);  // replaces all attributes
// Names (not paths) of the files matching `mask` in `folder`, normal and hidden, no folders.
std::vector<std::string> FindFiles(const std::string& folder, const std::string& mask);

std::string WindowsDir();    // the Windows folder, without a trailing backslash
std::string TempDir();       // the temporary folder, with a trailing backslash
std::string ExePath();       // the running program's full path

// Size in bytes of a file that other programs may have open; raises
// "Cannot open file \"%s\". %s" when it cannot be opened, gives 1 when the size is unknown.
int64_t FileSizeOf(const std::string& path);

// Writes `data` to `path` so that a failure mid-write leaves the old file intact: the data
// goes to a temporary file beside it, which then replaces the target.
// Raises "Cannot create file \"%s\". %s" on failure.
void WriteFileReplacing(const std::string& path, const std::string& data);
std::string ReadWholeFile(const std::string& path);   // raises "Cannot open file ..." when unreadable

// The system's message text for an error code, without the trailing line break.
std::string SystemErrorText(DWORD code);

// Turns off file-system redirection for its lifetime, so that a 32-bit build on 64-bit
// Windows writes into the real System32 folder. Does nothing elsewhere.
class FsRedirectionOff {
 public:
  FsRedirectionOff();
  ~FsRedirectionOff();
  FsRedirectionOff(const FsRedirectionOff&) = delete;
  FsRedirectionOff& operator=(const FsRedirectionOff&) = delete;

 private:
  void* old_ = nullptr;
  bool active_ = false;
};

}  // namespace zel
