#include "core/profile.h"

#include <windows.h>

#include <cstring>

#include "core/error.h"
#include "core/text.h"

namespace zel {

namespace {
// Windows reads at most 2047 characters of a value; Wine reads more. The program's own limit
// keeps the behaviour the same everywhere.
constexpr DWORD kValueBuffer = 2048;
}  // namespace

std::string IniFile::ReadString(const std::string& section, const std::string& key, const std::string& def) const {
  char buffer[kValueBuffer];
  DWORD n = GetPrivateProfileStringA(section.c_str(), key.c_str(), def.c_str(), buffer, kValueBuffer, path_.c_str());
  return std::string(buffer, n);
}

int32_t IniFile::ReadInteger(const std::string& section, const std::string& key, int32_t def) const {
  return IniInteger(ReadString(section, key, ""), def);
}

bool IniFile::ReadBool(const std::string& section, const std::string& key, bool def) const {
  return ReadInteger(section, key, def ? 1 : 0) != 0;
}

void IniFile::WriteString(const std::string& section, const std::string& key, const std::string& value) const {
  if (!WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(), path_.c_str()))
    throw Error(Format("Unable to write to %s", path_.c_str()));
}

void IniFile::WriteInteger(const std::string& section, const std::string& key, int32_t value) const {
  WriteString(section, key, std::to_string(value));
}

void IniFile::DeleteKey(const std::string& section, const std::string& key) const {
  WritePrivateProfileStringA(section.c_str(), key.c_str(), nullptr, path_.c_str());
}

std::vector<std::string> IniFile::SectionNames() const {
  std::vector<char> buffer(16384);
  for (;;) {
    DWORD n = GetPrivateProfileSectionNamesA(buffer.data(), DWORD(buffer.size()), path_.c_str());
    if (n < buffer.size() - 2 || buffer.size() > (64u << 20)) {
      std::vector<std::string> names;
      for (const char* p = buffer.data(); p < buffer.data() + n && *p; p += std::strlen(p) + 1) names.emplace_back(p);
      return names;
    }
    buffer.resize(buffer.size() * 4);
  }
}

void IniFile::Flush() const { WritePrivateProfileStringA(nullptr, nullptr, nullptr, path_.c_str()); }

}  // namespace zel
