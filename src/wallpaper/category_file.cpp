#include "wallpaper/category_file.h"

#include <algorithm>

#include "core/text.h"

namespace zel::wallpaper {

namespace {
bool Before(const std::string& a, std::string_view b) { return CompareText(a, b) < 0; }
}  // namespace

int CategoryList::IndexOf(std::string_view path) const {
  auto it = std::lower_bound(items_.begin(), items_.end(), path, Before);
  return it != items_.end() && SameText(*it, path) ? int(it - items_.begin()) : -1;
}

bool CategoryList::Add(const std::string& path) {
  auto it = std::lower_bound(items_.begin(), items_.end(), path, Before);
  if (it != items_.end() && SameText(*it, path)) return false;
  items_.insert(it, path);
  return true;
}

void CategoryList::Delete(int index) {
  if (index >= 0 && index < Count()) items_.erase(items_.begin() + index);
}

void CategoryList::LoadFromText(std::string_view text) {
  items_.clear();
  for (std::string& line : SplitLines(text))
    if (!Trim(line).empty()) items_.push_back(std::move(line));
  std::stable_sort(items_.begin(), items_.end(), [](const std::string& a, const std::string& b) { return Before(a, b); });
  items_.erase(std::unique(items_.begin(), items_.end(), [](const std::string& a, const std::string& b) { return SameText(a, b); }),
               items_.end());
}

std::string CategoryList::SaveToText() const {
  std::string text;
  for (const std::string& path : items_) text += path + "\r\n";
  return text;
}

const std::vector<std::string>& DroppedPictureExtensions() {
  static const std::vector<std::string> kExtensions = {".bmp", ".cur", ".dcx", ".gif", ".hdp", ".ico",
                                                       ".jpg", ".jpe", ".jpeg", ".j2k", ".pcx", ".png",
                                                       ".psd", ".raw", ".tga", ".tiff", ".wbmp"};
  return kExtensions;
}

bool IsDroppedPicture(std::string_view path) {
  const auto& set = DroppedPictureExtensions();
  return std::find(set.begin(), set.end(), LowerCase(ExtractFileExt(path))) != set.end();
}

bool IsPlainCategoryName(std::string_view name) {
  return name.find_first_of("\\/:") == std::string_view::npos;
}

}  // namespace zel::wallpaper
