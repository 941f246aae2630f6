// A wallpaper category in memory and on disk, and the rules that decide what may join one.
// Portable: no windows.h.
//
// A category's list file holds the full paths of its pictures as ANSI text, one path per line,
// every line (the last included) ended by CR LF, sorted without regard to letter case, each path
// once; an empty category is an empty file. Reading accepts CR, LF or CR LF line ends, drops
// empty lines and repeated paths, and sorts, so the order in the file does not matter.
#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace zel::wallpaper {

// The paths of one category, kept in case-insensitive order, each path once (compared without
// regard to letter case).
class CategoryList {
 public:
  // Position of a path, compared without regard to letter case; -1 when absent.
  int IndexOf(std::string_view path) const;
  // Adds a path in its sorted place; false (and nothing added) when the list already holds it.
  bool Add(const std::string& path);
  void Delete(int index);
  void Clear() { items_.clear(); }
  int Count() const { return int(items_.size()); }
  bool Empty() const { return items_.empty(); }
  const std::string& operator[](int index) const { return items_[size_t(index)]; }
  const std::vector<std::string>& Items() const { return items_; }

  // Replaces the entries by those of a list file's text.
  void LoadFromText(std::string_view text);
  // The list file's text for the entries.
  std::string SaveToText() const;

 private:
  std::vector<std::string> items_;
};

// The extensions a picture dropped on the wallpaper page may have (lower case, with the dot).
const std::vector<std::string>& DroppedPictureExtensions();
// Whether a dropped path names a picture the page takes: its extension, in lower case, is one
// of DroppedPictureExtensions().
bool IsDroppedPicture(std::string_view path);

// Whether a category name can name a list file in the category folder: it must not reach into
// another folder.
bool IsPlainCategoryName(std::string_view name);

}  // namespace zel::wallpaper
