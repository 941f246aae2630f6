#include "icons/icon_location.h"

#include <limits>
#include <optional>

#include "core/error.h"
#include "core/text.h"

namespace zel::icons {

namespace {
// A whole decimal number: an optional minus sign and at least one digit, nothing else.
std::optional<int32_t> WholeDecimal(std::string_view s) {
  size_t i = 0;
  bool negative = i < s.size() && s[i] == '-';
  if (negative) ++i;
  if (i >= s.size()) return std::nullopt;
  int64_t value = 0;
  for (; i < s.size(); ++i) {
    if (s[i] < '0' || s[i] > '9') return std::nullopt;
    value = value * 10 + (s[i] - '0');
    if (value > int64_t(std::numeric_limits<int32_t>::max()) + negative) return std::nullopt;
  }
  return static_cast<int32_t>(negative ? -value : value);
}

IconLocation Split(std::string_view text, bool strict) {
  IconLocation loc;
  if (!HasIconIndex(text)) {
    loc.path = std::string(text);
    return loc;
  }
  size_t comma = text.find(',');
  std::string_view rest = text.substr(comma + 1);
  auto index = WholeDecimal(rest);
  if (!index && strict) throw Error(Format("'%s' is not a valid integer value", std::string(rest).c_str()));
  loc.path = std::string(text.substr(0, comma));
  loc.index = index.value_or(0);
  loc.split = true;
  return loc;
}
}  // namespace

bool HasIconIndex(std::string_view text) {
  size_t comma = text.find(',');
  if (comma == std::string_view::npos || comma + 1 >= text.size()) return false;
  char c = text[comma + 1];
  return c == '-' || (c >= '0' && c <= '9');
}

IconLocation ParseIconLocation(std::string_view text) { return Split(text, true); }
IconLocation ParseIconLocationLenient(std::string_view text) { return Split(text, false); }

std::string JoinIconLocation(std::string_view path, std::string_view index) {
  return std::string(path) + "," + std::string(index);
}

std::string ShellIconName(int index) {
  switch (index) {
    case 0: return "Default File";
    case 1: return "Default Document";
    case 2: return "EXEcutable";
    case 3: return "Closed folder";
    case 4: return "Open Folder";
    case 5: return "Floppy Disk 5.25 inch";
    case 6: return "Floppy Disk 3.5 inch";
    case 7: return "Removable Disk";
    case 8: return "Hard Disk";
    case 11: return "CDROM Drive";
    case 15: return "My Computer";
    case 31: return "Recycle Bin Empty";
    case 32: return "Recycle Bin Full";
    case 34: return "Desktop";
    case 66: return "Confirm Folder Replace";
    case 75: return "Live Folder Back (Win 7)";
    case 76: return "Live Folder Front (Win 7)";
    default: return {};
  }
}

std::string FolderIconPath(std::string_view folder, std::string_view iconFile) {
  if (iconFile.find(':') != std::string_view::npos) return std::string(iconFile);
  return IncludeTrailingBackslash(folder) + std::string(iconFile);
}

bool IsIcoFile(std::string_view path) { return LowerCase(ExtractFileExt(path)) == ".ico"; }

std::string ParentFolder(std::string_view path) {
  size_t cut = path.find_last_of("\\:");
  if (cut == std::string_view::npos) return {};
  // "C:\x" keeps the backslash after the drive letter; "C:x" and "C:\" cut after the colon.
  if (path[cut] == '\\' && cut == 2 && path[1] == ':') return std::string(path.substr(0, 3));
  if (path[cut] == ':') return std::string(path.substr(0, cut + 1));
  return std::string(path.substr(0, cut));
}

}  // namespace zel::icons
