#include "imaging/history.h"

#include "imaging/ops.h"

namespace zel::img {

void History::Push(std::deque<Entry>& list, Entry e, size_t limit) {
  if (limit == 0) return;
  list.push_back(std::move(e));
  while (list.size() > limit) list.pop_front();
}

void History::Record(std::string caption, Image before) {
  Push(undo_, Entry{std::move(caption), std::move(before)}, limit_);
  redo_.clear();
}

bool History::Undo(Image& current) {
  if (undo_.empty()) return false;
  Entry e = std::move(undo_.back());
  undo_.pop_back();
  Push(redo_, Entry{e.caption, std::move(current)}, limit_);
  current = std::move(e.image);
  return true;
}

bool History::Redo(Image& current) {
  if (redo_.empty()) return false;
  Entry e = std::move(redo_.back());
  redo_.pop_back();
  Push(undo_, Entry{e.caption, std::move(current)}, limit_);
  current = std::move(e.image);
  return true;
}

std::vector<std::string> History::UndoCaptions() const {
  std::vector<std::string> out;
  for (auto it = undo_.rbegin(); it != undo_.rend(); ++it) out.push_back(it->caption);
  return out;
}

std::vector<std::string> History::RedoCaptions() const {
  std::vector<std::string> out;
  for (auto it = redo_.rbegin(); it != redo_.rend(); ++it) out.push_back(it->caption);
  return out;
}

void History::Clear() {
  undo_.clear();
  redo_.clear();
}

void CropWithHistory(History& history, Image& current, Rect selection) {
  if (current.empty() || selection.empty()) return;
  const bool meets = selection.x < current.width() && selection.y < current.height() &&
                     int64_t(selection.x) + selection.width > 0 && int64_t(selection.y) + selection.height > 0;
  if (!meets) return;
  Image cropped = Crop(current, selection);
  history.Record(kCaptionCrop, std::move(current));
  current = std::move(cropped);
}

void ShadowWithHistory(History& history, Image& current) {
  if (current.empty()) return;
  Image shadowed = SoftShadow(current, current.width() / 100, 3, 3, Colour{0, 0, 0}, 100);
  history.Record(kCaptionShadow, std::move(current));
  current = std::move(shadowed);
}

}  // namespace zel::img
