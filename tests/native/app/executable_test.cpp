// The Windows executables import only DLLs that Windows itself ships (static runtime, no
// MinGW or image-library DLLs beside the exe).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

namespace {

// The DLL names in a PE file's import directory.
std::vector<std::string> ImportedDlls(const std::vector<uint8_t>& pe) {
  auto u16 = [&](size_t o) { return uint32_t(pe.at(o) | pe.at(o + 1) << 8); };
  auto u32 = [&](size_t o) { return u16(o) | u16(o + 2) << 16; };
  size_t nt = u32(0x3C);
  if (u32(nt) != 0x4550) throw std::runtime_error("not a PE file");
  size_t coff = nt + 4;
  size_t sections = u16(coff + 2), optSize = u16(coff + 16), opt = coff + 20;
  bool pe32plus = u16(opt) == 0x20B;
  size_t dataDir = opt + (pe32plus ? 112 : 96);
  uint32_t importRva = u32(dataDir + 8);
  size_t sectionTable = opt + optSize;
  auto toOffset = [&](uint32_t rva) -> size_t {
    for (size_t i = 0; i < sections; ++i) {
      size_t s = sectionTable + i * 40;
      uint32_t va = u32(s + 12), size = std::max(u32(s + 8), u32(s + 16)), raw = u32(s + 20);
      if (rva >= va && rva < va + size) return raw + (rva - va);
    }
    throw std::runtime_error("RVA outside the sections");
  };
  std::vector<std::string> dlls;
  for (size_t d = toOffset(importRva);; d += 20) {
    uint32_t nameRva = u32(d + 12);
    if (!nameRva) break;
    dlls.emplace_back(reinterpret_cast<const char*>(&pe.at(toOffset(nameRva))));
  }
  return dlls;
}

TEST(Executable, ImportsOnlySystemDlls) {
  const std::set<std::string> system = {"advapi32.dll", "comctl32.dll", "comdlg32.dll", "gdi32.dll",
                                        "kernel32.dll", "msimg32.dll",  "msvcrt.dll",   "ole32.dll",
                                        "oleaut32.dll", "shell32.dll",  "shlwapi.dll",  "user32.dll",
                                        "version.dll",  "wininet.dll",  "urlmon.dll",   "winspool.drv"};
  int checked = 0;
  for (const char* arch : {"x64", "x86"}) {
    std::string path = std::string(ZEL_SOURCE_DIR) + "/out/" + arch + "/Zelvane.exe";
    std::ifstream in(path, std::ios::binary);
    if (!in) continue;
    std::vector<uint8_t> pe((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    for (std::string dll : ImportedDlls(pe)) {
      std::transform(dll.begin(), dll.end(), dll.begin(), [](unsigned char c) { return char(std::tolower(c)); });
      EXPECT_TRUE(system.count(dll)) << arch << " imports " << dll;
    }
    ++checked;
  }
  if (!checked) GTEST_SKIP() << "no Windows build in out/ yet";
}

}  // namespace
