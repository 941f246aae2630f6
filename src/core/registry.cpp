#include "core/registry.h"

#include "core/error.h"
#include "core/text.h"

namespace zel {

REGSAM RegistryViewFor(HKEY root) {
  return (root == HKEY_LOCAL_MACHINE || root == HKEY_CLASSES_ROOT) ? KEY_WOW64_64KEY : 0;
}

RegKey::~RegKey() { Close(); }

RegKey::RegKey(RegKey&& other) noexcept : key_(other.key_) { other.key_ = nullptr; }

RegKey& RegKey::operator=(RegKey&& other) noexcept {
  if (this != &other) {
    Close();
    key_ = other.key_;
    other.key_ = nullptr;
  }
  return *this;
}

bool RegKey::Open(HKEY root, const std::string& path) {
  Close();
  HKEY k = nullptr;
  if (RegOpenKeyExA(root, path.c_str(), 0, KEY_ALL_ACCESS | RegistryViewFor(root), &k) != ERROR_SUCCESS) return false;
  key_ = k;
  return true;
}

bool RegKey::Create(HKEY root, const std::string& path) {
  Close();
  HKEY k = nullptr;
  if (RegCreateKeyExA(root, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS | RegistryViewFor(root),
                      nullptr, &k, nullptr) != ERROR_SUCCESS)
    return false;
  key_ = k;
  return true;
}

void RegKey::Close() {
  if (key_) RegCloseKey(key_);
  key_ = nullptr;
}

bool RegKey::ValueExists(const std::string& name) const {
  return key_ && RegQueryValueExA(key_, name.c_str(), nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

std::string RegKey::ReadString(const std::string& name) const {
  if (!key_) return {};
  DWORD type = 0, size = 0;
  if (RegQueryValueExA(key_, name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return {};
  if (type != REG_SZ && type != REG_EXPAND_SZ) throw Error(Format("Invalid data type for '%s'", name.c_str()));
  std::string data(size + 1, '\0');
  DWORD got = size;
  if (RegQueryValueExA(key_, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &got) != ERROR_SUCCESS)
    return {};
  data.resize(got);
  // Stored strings may or may not carry their terminating NUL; the text ends at the first one.
  if (size_t nul = data.find('\0'); nul != std::string::npos) data.resize(nul);
  return data;
}

std::optional<uint32_t> RegKey::ReadInteger(const std::string& name) const {
  if (!key_) return std::nullopt;
  DWORD type = 0, value = 0, size = sizeof(value);
  LONG rc = RegQueryValueExA(key_, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&value), &size);
  if (rc == ERROR_FILE_NOT_FOUND) return std::nullopt;
  if ((rc != ERROR_SUCCESS && rc != ERROR_MORE_DATA) || type != REG_DWORD)
    throw Error(Format("Invalid data type for '%s'", name.c_str()));
  return value;
}

void RegKey::WriteString(const std::string& name, const std::string& value) const {
  if (!key_ || RegSetValueExA(key_, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                              DWORD(value.size() + 1)) != ERROR_SUCCESS)
    throw Error(Format("Failed to set data for '%s'", name.c_str()));
}

void RegKey::WriteInteger(const std::string& name, uint32_t value) const {
  DWORD v = value;
  if (!key_ || RegSetValueExA(key_, name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&v), sizeof(v)) !=
                   ERROR_SUCCESS)
    throw Error(Format("Failed to set data for '%s'", name.c_str()));
}

bool RegKey::DeleteValue(const std::string& name) const {
  return key_ && RegDeleteValueA(key_, name.c_str()) == ERROR_SUCCESS;
}

std::vector<std::string> RegKey::SubKeyNames() const {
  std::vector<std::string> names;
  if (!key_) return names;
  DWORD count = 0, longest = 0;
  if (RegQueryInfoKeyA(key_, nullptr, nullptr, nullptr, &count, &longest, nullptr, nullptr, nullptr, nullptr, nullptr,
                       nullptr) != ERROR_SUCCESS)
    return names;
  names.reserve(count);
  std::string buffer(longest + 2, '\0');
  for (DWORD i = 0;; ++i) {
    DWORD len = DWORD(buffer.size());
    LONG rc = RegEnumKeyExA(key_, i, buffer.data(), &len, nullptr, nullptr, nullptr, nullptr);
    if (rc == ERROR_MORE_DATA) {
      buffer.resize(buffer.size() * 2 + 256);
      --i;
      continue;
    }
    if (rc != ERROR_SUCCESS) break;
    names.emplace_back(buffer.data(), len);
  }
  return names;
}

bool MakeRegKey(HKEY root, const std::string& key) {
  RegKey k;
  if (!k.Create(root, key)) throw Error(Format("Failed to create key %s", key.c_str()));
  return true;
}

namespace {
// RegDeleteKeyExA (which takes the registry view) exists from XP x64 and Vista on; older
// systems have one view only, where RegDeleteKeyA does the same.
LONG DeleteLeafKey(HKEY parent, const std::string& name, REGSAM view) {
  using Fn = LONG(WINAPI*)(HKEY, LPCSTR, REGSAM, DWORD);
  static Fn fn = reinterpret_cast<Fn>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("advapi32.dll"), "RegDeleteKeyExA")));
  return fn ? fn(parent, name.c_str(), view, 0) : RegDeleteKeyA(parent, name.c_str());
}

void DeleteTree(HKEY root, const std::string& key) {
  RegKey k;
  if (!k.Open(root, key)) return;
  for (const std::string& sub : k.SubKeyNames()) DeleteTree(root, key + "\\" + sub);
  k.Close();
  size_t cut = key.rfind('\\');
  std::string parent = cut == std::string::npos ? std::string() : key.substr(0, cut);
  std::string leaf = cut == std::string::npos ? key : key.substr(cut + 1);
  HKEY p = root;
  if (!parent.empty() && RegOpenKeyExA(root, parent.c_str(), 0, KEY_ALL_ACCESS | RegistryViewFor(root), &p) != ERROR_SUCCESS)
    return;
  DeleteLeafKey(p, leaf, RegistryViewFor(root));
  if (p != root) RegCloseKey(p);
}
}  // namespace

bool DeleteRegKey(HKEY root, const std::string& key) {
  if (!key.empty()) DeleteTree(root, key);
  return true;
}

bool ListRegSubKeys(HKEY root, const std::string& key, std::vector<std::string>& list) {
  list.clear();
  RegKey k;  // an empty path opens the root itself
  if (k.Open(root, key)) list = k.SubKeyNames();
  return true;
}

bool DeleteRegValue(HKEY root, const std::string& key, const std::string& name) {
  RegKey k;
  if (k.Open(root, key)) k.DeleteValue(name);
  return true;
}

namespace {
std::string ReadString(HKEY root, const std::string& key, const std::string& name) {
  RegKey k;
  if (!k.Open(root, key)) return {};
  return k.ReadString(name);
}
void WriteString(HKEY root, const std::string& key, const std::string& name, const std::string& value) {
  RegKey k;
  k.Create(root, key);
  k.WriteString(name, value);
}
}  // namespace

std::string ReadCUString(const std::string& key, const std::string& name) {
  return ReadString(HKEY_CURRENT_USER, key, name);
}
void WriteCUString(const std::string& key, const std::string& name, const std::string& value) {
  WriteString(HKEY_CURRENT_USER, key, name, value);
}
std::string ReadCRString(const std::string& key, const std::string& name) {
  return ReadString(HKEY_CLASSES_ROOT, key, name);
}
void WriteCRString(const std::string& key, const std::string& name, const std::string& value) {
  WriteString(HKEY_CLASSES_ROOT, key, name, value);
}
std::string ReadLMString(const std::string& key, const std::string& name) {
  return ReadString(HKEY_LOCAL_MACHINE, key, name);
}
void WriteLMString(const std::string& key, const std::string& name, const std::string& value) {
  WriteString(HKEY_LOCAL_MACHINE, key, name, value);
}
bool WriteLMInteger(const std::string& key, const std::string& name, uint32_t value) {
  RegKey k;
  k.Create(HKEY_LOCAL_MACHINE, key);
  k.WriteInteger(name, value);
  return true;
}

}  // namespace zel
