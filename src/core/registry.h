// Registry access: short-lived keys (open, act, close inside one call), the errors the
// program reports, and the named helpers the tool pages use. Keys under HKEY_LOCAL_MACHINE and
// HKEY_CLASSES_ROOT are always opened in the 64-bit view, so a 32-bit build on 64-bit Windows
// changes the real system and not its redirected copy.
#pragma once
#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace zel {

class RegKey {
 public:
  RegKey() = default;
  ~RegKey();
  RegKey(const RegKey&) = delete;
  RegKey& operator=(const RegKey&) = delete;
  RegKey(RegKey&& other) noexcept;
  RegKey& operator=(RegKey&& other) noexcept;

  // Opens an existing key with full access; false (and no key open) when that fails.
  bool Open(HKEY root, const std::string& path);
  // Opens the key with full access, creating it and any missing parents.
  bool Create(HKEY root, const std::string& path);
  void Close();
  bool IsOpen() const { return key_ != nullptr; }

  bool ValueExists(const std::string& name) const;
  // REG_SZ or REG_EXPAND_SZ as stored (not expanded); empty when missing or the key is not
  // open; raises "Invalid data type for '%s'" for another type.
  std::string ReadString(const std::string& name) const;
  // REG_DWORD; raises "Invalid data type for '%s'" for another type, nullopt when missing.
  std::optional<uint32_t> ReadInteger(const std::string& name) const;
  // Raise "Failed to set data for '%s'" when the write fails or no key is open.
  void WriteString(const std::string& name, const std::string& value) const;
  void WriteInteger(const std::string& name, uint32_t value) const;
  bool DeleteValue(const std::string& name) const;
  std::vector<std::string> SubKeyNames() const;

 private:
  HKEY key_ = nullptr;
};

REGSAM RegistryViewFor(HKEY root);

// The helpers of the tool pages. Each opens its key, acts and closes it; a missing key or
// value reads as the empty string.
bool MakeRegKey(HKEY root, const std::string& key);         // raises "Failed to create key %s"
bool DeleteRegKey(HKEY root, const std::string& key);       // the key and its whole subtree
bool ListRegSubKeys(HKEY root, const std::string& key, std::vector<std::string>& list);
bool DeleteRegValue(HKEY root, const std::string& key, const std::string& name);
std::string ReadCUString(const std::string& key, const std::string& name);
void WriteCUString(const std::string& key, const std::string& name, const std::string& value);
std::string ReadCRString(const std::string& key, const std::string& name);
void WriteCRString(const std::string& key, const std::string& name, const std::string& value);
std::string ReadLMString(const std::string& key, const std::string& name);
void WriteLMString(const std::string& key, const std::string& name, const std::string& value);
bool WriteLMInteger(const std::string& key, const std::string& name, uint32_t value);

}  // namespace zel
