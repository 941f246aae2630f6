// Writing a file so that an existing one is replaced only by a complete new one.
#include <atomic>
#include <chrono>
#include <cstdio>
#include <memory>
#include <string>

#ifdef _WIN32
#include <windows.h>
#endif

#include "imaging/codecs.h"
#include "imaging/io.h"

namespace zel::img {
namespace {

std::string TempNameFor(const std::string& path) {
  static std::atomic<unsigned> counter{0};
  unsigned long long stamp =
      (unsigned long long)std::chrono::steady_clock::now().time_since_epoch().count() ^ (counter++ * 0x9e3779b9u);
  char suffix[40];
  std::snprintf(suffix, sizeof suffix, ".zel%08llx.tmp", stamp & 0xffffffffull);
  return path + suffix;
}

bool ReplaceFile(const std::string& from, const std::string& to) {
#ifdef _WIN32
  // MoveFileEx replaces an existing target (rename() on Windows does not).
  return MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
#else
  return std::rename(from.c_str(), to.c_str()) == 0;
#endif
}

}  // namespace

void WriteFileReplacing(const std::string& path, std::span<const uint8_t> bytes) {
  detail::WriteFileReplacingWith(path, [&](const detail::ByteOut& out) { out(bytes.data(), bytes.size()); });
}

namespace detail {

void WriteFileReplacingWith(const std::string& path, const std::function<void(const ByteOut&)>& produce) {
  WriteFileReplacingWithFile(path, [&](FILE* f) {
    bool ok = true;
    produce([&](const uint8_t* p, size_t n) {
      if (ok && n && std::fwrite(p, 1, n, f) != n) ok = false;
    });
    if (!ok) throw Error("the disk is full or the write failed");
  });
}

void WriteFileReplacingWithFile(const std::string& path, const std::function<void(FILE*)>& produce) {
  const std::string tmp = TempNameFor(path);
  FILE* f = std::fopen(tmp.c_str(), "wb");
  if (!f) throw Error("Cannot write \"" + path + "\": the folder does not exist or is not writable");
  try {
    produce(f);
  } catch (const ReadError&) {
    std::fclose(f);
    std::remove(tmp.c_str());
    throw;
  } catch (const Error& e) {
    std::fclose(f);
    std::remove(tmp.c_str());
    throw Error("Cannot write \"" + path + "\": " + e.what());
  } catch (...) {
    std::fclose(f);
    std::remove(tmp.c_str());
    throw;
  }
  bool ok = !std::ferror(f);
  ok = (std::fflush(f) == 0) && ok;
  ok = (std::fclose(f) == 0) && ok;
  auto fail = [&](const char* why) {
    std::remove(tmp.c_str());
    throw Error("Cannot write \"" + path + "\": " + why);
  };
  if (!ok) fail("the disk is full or the write failed");
  if (!ReplaceFile(tmp, path)) fail("the existing file could not be replaced (it may be in use or read-only)");
}

}  // namespace detail
}  // namespace zel::img
