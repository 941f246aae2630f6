// Shared by the icon customizer's tests: the main window on the Icon Customizer page, registry
// values of any type, file attributes, and a real .ico file to work with.
#pragma once
#include <algorithm>

#include "core/files.h"
#include "core/registry.h"
#include "core/text.h"
#include "icons/icons_page.h"
#include "test_support.h"

namespace zel::test {

class IconsFrame : public FrameTest {
 protected:
  icons::IconsPage& Page(app::TfrmZelvane& f) {
    f.PageControl1.SetActivePage(f.PageControl1.SheetCount() > 3 ? IndexOfIconsSheet(f) : 0);
    return f.icons;
  }
  static int IndexOfIconsSheet(app::TfrmZelvane& f) {
    for (int i = 0; i < f.PageControl1.SheetCount(); ++i)
      if (&f.PageControl1.Sheet(i) == f.shtICus) return i;
    return 0;
  }
};

// Writes a REG_DWORD value (a value of the wrong type for the string readers).
inline void WriteDword(HKEY root, const std::string& key, const std::string& name, DWORD value) {
  RegKey k;
  ASSERT_TRUE(k.Create(root, key)) << key;
  k.WriteInteger(name, value);
}

inline bool ValueExists(HKEY root, const std::string& key, const std::string& name) {
  RegKey k;
  return k.Open(root, key) && k.ValueExists(name);
}

inline bool KeyExists(HKEY root, const std::string& key) {
  RegKey k;
  return k.Open(root, key);
}

// The attributes of a file or folder without the directory flag; INVALID_FILE_ATTRIBUTES if
// missing. Wine cannot store the Archive flag and reports it for every file, so it is left out.
inline DWORD Attributes(const std::string& path) {
  DWORD a = GetFileAttributesA(path.c_str());
  return a == INVALID_FILE_ATTRIBUTES ? a : (a & ~DWORD(FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_ARCHIVE));
}

// Types into an edit control as the user would, replacing its text.
inline void TypeInto(HWND edit, const std::string& text) {
  SendMessageA(edit, EM_SETSEL, 0, -1);
  SendMessageA(edit, WM_CHAR, VK_BACK, 0);
  for (char c : text) SendMessageA(edit, WM_CHAR, WPARAM(static_cast<unsigned char>(c)), 0);
}

// A valid 32 x 32 icon file of one colour.
inline void WriteIcoFile(const std::string& path, uint8_t shade = 0x80) {
  const int n = 32;
  std::string ico;
  auto put16 = [&](uint16_t v) { ico.append(reinterpret_cast<const char*>(&v), 2); };
  auto put32 = [&](uint32_t v) { ico.append(reinterpret_cast<const char*>(&v), 4); };
  uint32_t imageSize = 40 + n * n * 4 + n * 4;
  put16(0), put16(1), put16(1);                                   // icon file with one image
  ico += char(n), ico += char(n), ico += char(0), ico += char(0);  // size, colours, reserved
  put16(1), put16(32), put32(imageSize), put32(6 + 16);
  put32(40), put32(n), put32(n * 2), put16(1), put16(32), put32(0), put32(n * n * 4), put32(0), put32(0), put32(0),
      put32(0);
  for (int i = 0; i < n * n; ++i) ico += char(shade), ico += char(0x40), ico += char(0x20), ico += char(0xFF);
  ico.append(size_t(n * 4), '\0');                                 // AND mask: all opaque
  WriteTextFile(path, ico);
}

}  // namespace zel::test
