// Initialisation (profile) files through the system's profile-file calls: case-insensitive
// section and key names, values read up to 2047 characters, writes that go to the file at once.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace zel {

class IniFile {
 public:
  explicit IniFile(std::string path) : path_(std::move(path)) {}
  const std::string& path() const { return path_; }

  std::string ReadString(const std::string& section, const std::string& key, const std::string& def) const;
  // Decimal, or hexadecimal after "0x"; anything else gives the default.
  int32_t ReadInteger(const std::string& section, const std::string& key, int32_t def) const;
  bool ReadBool(const std::string& section, const std::string& key, bool def) const;
  // Raise "Unable to write to %s" with the file's path when the write fails.
  void WriteString(const std::string& section, const std::string& key, const std::string& value) const;
  void WriteInteger(const std::string& section, const std::string& key, int32_t value) const;
  void DeleteKey(const std::string& section, const std::string& key) const;
  std::vector<std::string> SectionNames() const;
  void Flush() const;

 private:
  std::string path_;
};

}  // namespace zel
