// Icon locations: a file path, a comma and an icon index naming one icon in a file
// ("C:\Windows\System32\shell32.dll,4", "imageres.dll,-5"), read the same way by every tab of
// the icon customizer. Also the names of the shell's icon slots and the path rules of folder
// icons. Portable: no windows.h.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

namespace zel::icons {

struct IconLocation {
  std::string path;   // used as written: no quotes removed, nothing expanded or trimmed
  int32_t index = 0;  // 0 or more: position in the file; negative: resource id without its sign
  bool split = false; // the text had an index part
};

// True when the text has an index part: its first comma is followed by a minus sign or a digit.
bool HasIconIndex(std::string_view text);

// Splits at the first comma (only before a minus sign or a digit) and reads the rest as a whole
// decimal number, raising "'%s' is not a valid integer value" with the rest when it is not one.
IconLocation ParseIconLocation(std::string_view text);
// The same split; a rest that is not a whole decimal number gives index 0.
IconLocation ParseIconLocationLenient(std::string_view text);
// Path, comma, index in decimal.
std::string JoinIconLocation(std::string_view path, std::string_view index);

// The display name of a shell icon slot (0 to 305); empty for slots without one.
std::string ShellIconName(int index);
inline constexpr int kShellIconSlots = 306;

// The icon file a folder's desktop.ini names, as a full path: a name without a colon is taken
// as relative to the folder.
std::string FolderIconPath(std::string_view folder, std::string_view iconFile);
// True when the file's extension, in lower case, is exactly ".ico".
bool IsIcoFile(std::string_view path);
// The parent folder of a path: up to its last delimiter, keeping the delimiter only right
// after a drive letter ("C:\Photos\Trip" gives "C:\Photos", "C:\Photos" gives "C:\").
std::string ParentFolder(std::string_view path);

}  // namespace zel::icons
