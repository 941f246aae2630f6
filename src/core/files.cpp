#include "core/files.h"

#include "core/error.h"
#include "core/text.h"

namespace zel {

bool FileExists(const std::string& path) {
  DWORD a = GetFileAttributesA(path.c_str());
  return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

bool DirectoryExists(const std::string& path) {
  DWORD a = GetFileAttributesA(path.c_str());
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

bool ForceDirectories(const std::string& path) {
  std::string dir = ExcludeTrailingBackslash(path);
  if (dir.empty()) return false;
  if (DirectoryExists(dir) || (dir.size() == 2 && dir[1] == ':')) return true;
  std::string parent = ExcludeTrailingBackslash(ExtractFilePath(dir));
  if (!parent.empty() && parent != dir && !ForceDirectories(parent)) return false;
  return CreateDirectoryA(dir.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS;
}

bool DeleteFileAt(const std::string& path) { return DeleteFileA(path.c_str()) != 0; }

bool RenameFileTo(const std::string& from, const std::string& to) { return MoveFileA(from.c_str(), to.c_str()) != 0; }

bool CopyFileNoOverwrite(const std::string& from, const std::string& to) {
  return CopyFileA(from.c_str(), to.c_str(), TRUE) != 0;
}

bool SetFileAttributesTo(const std::string& path, DWORD attributes) {
  return SetFileAttributesA(path.c_str(), attributes) != 0;
}

std::vector<std::string> FindFiles(const std::string& folder, const std::string& mask) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA fd;
  HANDLE h = FindFirstFileA((IncludeTrailingBackslash(folder) + mask).c_str(), &fd);
  if (h == INVALID_HANDLE_VALUE) return names;
  do {
    if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.emplace_back(fd.cFileName);
  } while (FindNextFileA(h, &fd));
  FindClose(h);
  return names;
}

std::string WindowsDir() {
  char buffer[MAX_PATH] = {};
  GetWindowsDirectoryA(buffer, MAX_PATH);
  return std::string(buffer);
}

std::string TempDir() {
  char buffer[MAX_PATH + 1] = {};
  GetTempPathA(MAX_PATH + 1, buffer);
  return IncludeTrailingBackslash(buffer);
}

std::string ExePath() {
  std::string buffer(32768, '\0');
  DWORD n = GetModuleFileNameA(nullptr, buffer.data(), DWORD(buffer.size()));
  buffer.resize(n);
  return buffer;
}

std::string SystemErrorText(DWORD code) {
  char* text = nullptr;
  DWORD n = FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                           nullptr, code, 0, reinterpret_cast<char*>(&text), 0, nullptr);
  std::string r = n && text ? std::string(text, n) : std::string();
  if (text) LocalFree(text);
  while (!r.empty() && (r.back() == '\n' || r.back() == '\r' || r.back() == ' ')) r.pop_back();
  return r;
}

namespace {
std::string FullPath(const std::string& path) {
  char buffer[MAX_PATH * 4];
  DWORD n = GetFullPathNameA(path.c_str(), sizeof(buffer), buffer, nullptr);
  return n && n < sizeof(buffer) ? std::string(buffer, n) : path;
}
}  // namespace

int64_t FileSizeOf(const std::string& path) {
  HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                         OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) {
    DWORD code = GetLastError();
    throw Error(Format("Cannot open file \"%s\". %s", FullPath(path).c_str(), SystemErrorText(code).c_str()));
  }
  LARGE_INTEGER size;
  int64_t result = GetFileSizeEx(h, &size) ? size.QuadPart : 1;
  CloseHandle(h);
  return result;
}

void WriteFileReplacing(const std::string& path, const std::string& data) {
  auto fail = [&](DWORD code) {
    throw Error(Format("Cannot create file \"%s\". %s", FullPath(path).c_str(), SystemErrorText(code).c_str()));
  };
  std::string temp = path + ".tmp~";
  HANDLE h = CreateFileA(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) fail(GetLastError());
  DWORD written = 0;
  BOOL ok = data.empty() || WriteFile(h, data.data(), DWORD(data.size()), &written, nullptr);
  ok = ok && written == data.size() && FlushFileBuffers(h);
  DWORD code = GetLastError();
  CloseHandle(h);
  if (!ok) {
    DeleteFileA(temp.c_str());
    fail(code);
  }
  // Keep the target's own attributes (a hidden list file stays hidden).
  DWORD attributes = GetFileAttributesA(path.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES) {
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  }
  if (!MoveFileExA(temp.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    code = GetLastError();
    if (attributes != INVALID_FILE_ATTRIBUTES) SetFileAttributesA(path.c_str(), attributes);
    DeleteFileA(temp.c_str());
    fail(code);
  }
  if (attributes != INVALID_FILE_ATTRIBUTES) SetFileAttributesA(path.c_str(), attributes);
}

std::string ReadWholeFile(const std::string& path) {
  HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) {
    DWORD code = GetLastError();
    throw Error(Format("Cannot open file \"%s\". %s", FullPath(path).c_str(), SystemErrorText(code).c_str()));
  }
  std::string data;
  LARGE_INTEGER size;
  if (GetFileSizeEx(h, &size) && size.QuadPart > 0 && size.QuadPart < (int64_t(1) << 31)) {
    data.resize(size_t(size.QuadPart));
    DWORD got = 0;
    if (!ReadFile(h, data.data(), DWORD(data.size()), &got, nullptr)) got = 0;
    data.resize(got);
  }
  CloseHandle(h);
  return data;
}

FsRedirectionOff::FsRedirectionOff() {
  using Fn = BOOL(WINAPI*)(void**);
  static Fn fn = reinterpret_cast<Fn>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleA("kernel32.dll"), "Wow64DisableWow64FsRedirection")));
  active_ = fn && fn(&old_);
}

FsRedirectionOff::~FsRedirectionOff() {
  using Fn = BOOL(WINAPI*)(void*);
  static Fn fn = reinterpret_cast<Fn>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleA("kernel32.dll"), "Wow64RevertWow64FsRedirection")));
  if (active_ && fn) fn(old_);
}

}  // namespace zel
