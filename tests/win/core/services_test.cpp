// The Windows services the tools rest on: registry helpers with their error texts, the
// profile-file rules, file size, and starting programs.
#include "test_support.h"

#include "core/error.h"
#include "core/files.h"
#include "core/profile.h"
#include "core/registry.h"
#include "core/seams.h"
#include "core/system.h"

namespace zel::test {
namespace {

constexpr char kKey[] = "Software\\ZelvaneTests\\Registry";

std::string ErrorOf(const std::function<void()>& f) {
  try {
    f();
  } catch (const Error& e) {
    return e.what();
  }
  return "";
}

TEST(Registry, MissingKeysAndValuesReadEmpty) {
  ScopedRegistryKey scope(HKEY_CURRENT_USER, kKey);
  EXPECT_EQ(ReadCUString(kKey, "Nothing"), "");
  WriteCUString(kKey, "Name", "C:\\x.bmp");
  EXPECT_EQ(ReadCUString(kKey, "Name"), "C:\\x.bmp");
  EXPECT_EQ(ReadCUString(kKey, "Other"), "");
  EXPECT_EQ(ReadLMString("SOFTWARE\\ZelvaneTests\\Missing", ""), "");
}

TEST(Registry, WrongTypesRaiseInvalidDataTypeAndStringsComeBackUnexpanded) {
  ScopedRegistryKey scope(HKEY_CURRENT_USER, kKey);
  RegKey k;
  ASSERT_TRUE(k.Create(HKEY_CURRENT_USER, kKey));
  k.WriteInteger("Number", 5);
  std::string expand = "%WINDIR%\\x.bmp";
  HKEY raw = nullptr;
  RegOpenKeyExA(HKEY_CURRENT_USER, kKey, 0, KEY_ALL_ACCESS, &raw);
  RegSetValueExA(raw, "Expand", 0, REG_EXPAND_SZ, reinterpret_cast<const BYTE*>(expand.c_str()), DWORD(expand.size() + 1));
  RegCloseKey(raw);
  EXPECT_EQ(ErrorOf([] { ReadCUString(kKey, "Number"); }), "Invalid data type for 'Number'");
  EXPECT_EQ(ReadCUString(kKey, "Expand"), expand);
}

TEST(Registry, DeleteKeyRemovesTheWholeSubtreeAndListingAMissingKeyIsEmpty) {
  ScopedRegistryKey scope(HKEY_LOCAL_MACHINE, "SOFTWARE\\ZelvaneTests");
  std::string base = "SOFTWARE\\ZelvaneTests\\Tree";
  MakeRegKey(HKEY_LOCAL_MACHINE, base + "\\A\\B\\C");
  MakeRegKey(HKEY_LOCAL_MACHINE, base + "\\D");
  WriteLMString(base + "\\A\\B", "v", "1");
  std::vector<std::string> subkeys{"stale"};
  EXPECT_TRUE(ListRegSubKeys(HKEY_LOCAL_MACHINE, base, subkeys));
  EXPECT_EQ(subkeys.size(), 2u);
  EXPECT_TRUE(DeleteRegKey(HKEY_LOCAL_MACHINE, base));
  RegKey gone;
  EXPECT_FALSE(gone.Open(HKEY_LOCAL_MACHINE, base));
  EXPECT_TRUE(DeleteRegKey(HKEY_LOCAL_MACHINE, base));   // already gone: nothing happens
  EXPECT_TRUE(ListRegSubKeys(HKEY_LOCAL_MACHINE, base, subkeys));
  EXPECT_TRUE(subkeys.empty());
  EXPECT_TRUE(DeleteRegValue(HKEY_LOCAL_MACHINE, base, "v"));
}

TEST(Registry, WriteLMIntegerStoresADword) {
  ScopedRegistryKey scope(HKEY_LOCAL_MACHINE, "SOFTWARE\\ZelvaneTests");
  EXPECT_TRUE(WriteLMInteger("SOFTWARE\\ZelvaneTests\\Bg", "OEMBackground", 1));
  RegKey k;
  ASSERT_TRUE(k.Open(HKEY_LOCAL_MACHINE, "SOFTWARE\\ZelvaneTests\\Bg"));
  EXPECT_EQ(k.ReadInteger("OEMBackground").value_or(99), 1u);
  EXPECT_EQ(ErrorOf([] { ReadLMString("SOFTWARE\\ZelvaneTests\\Bg", "OEMBackground"); }),
            "Invalid data type for 'OEMBackground'");
}

TEST(ProfileFile, ReadsAtMost2047CharactersAndReportsFailedWrites) {
  TempFolder dir;
  IniFile ini(dir / "a.ini");
  std::string longValue(5000, 'x');
  ini.WriteString("S", "Long", longValue);
  EXPECT_EQ(ini.ReadString("s", "LONG", ""), std::string(2047, 'x'));
  ini.WriteString("S", "Hex", "0x10");
  EXPECT_EQ(ini.ReadInteger("S", "Hex", 0), 16);
  EXPECT_EQ(ini.ReadInteger("S", "Missing", 23), 23);
  std::string missing = dir / "no such folder\\b.ini";
  EXPECT_EQ(ErrorOf([&] { IniFile(missing).WriteString("S", "K", "v"); }), "Unable to write to " + missing);
}

TEST(FileSizeOf, WorksWhileAnotherProgramWritesAndNamesAMissingFile) {
  TempFolder dir;
  std::string path = dir / "open.bin";
  HANDLE writer = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(writer, INVALID_HANDLE_VALUE);
  DWORD written = 0;
  WriteFile(writer, "12345", 5, &written, nullptr);
  FlushFileBuffers(writer);
  EXPECT_EQ(FileSizeOf(path), 5);
  CloseHandle(writer);
  std::string error = ErrorOf([&] { FileSizeOf(dir / "missing.jpg"); });
  EXPECT_EQ(error.rfind("Cannot open file \"" + dir.path() + "missing.jpg\". ", 0), 0u) << error;
}

TEST(RunCommandLine, AMissingProgramRaisesTheSystemErrorWithCode2) {
  // The real launcher: starting a program that does not exist is safe.
  std::string error = ErrorOf([] { RealLauncher().StartProcess("", "zelvane-no-such-program.exe /x", false); });
  EXPECT_EQ(error, "System Error.  Code: 2.\r\n" + SystemErrorText(2));
}

TEST(IdleSeconds, CountsAcrossTheTickWrap) {
  ScopedFakes fakes;
  fakes.clock.lastInput = 0xFFFFF000u;
  fakes.clock.tick = 0x00001000u;   // 8192 ms later, after the wrap
  EXPECT_EQ(IdleSeconds(), 8u);
}

TEST(WriteFileReplacing, KeepsTheOldFileWhenTheNewOneCannotBeWritten) {
  TempFolder dir;
  std::string path = dir / "list.dat";
  WriteFileReplacing(path, "old\r\n");
  // A target held open without sharing cannot be replaced: the old content must survive.
  HANDLE lock = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(lock, INVALID_HANDLE_VALUE);
  EXPECT_THROW(WriteFileReplacing(path, "new\r\n"), Error);
  CloseHandle(lock);
  EXPECT_EQ(ReadTextFile(path), "old\r\n");
  WriteFileReplacing(path, "new\r\n");
  EXPECT_EQ(ReadTextFile(path), "new\r\n");
}

}  // namespace
}  // namespace zel::test
