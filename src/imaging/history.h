// Undo and redo of the picture edits, each step with a caption, as the capture preview uses.
#pragma once

#include <cstddef>
#include <deque>
#include <string>
#include <vector>

#include "imaging/image.h"

namespace zel::img {

inline constexpr const char* kCaptionCrop = "Crop";
inline constexpr const char* kCaptionShadow = "Shadow";
inline constexpr size_t kDefaultUndoLimit = 50;

class History {
 public:
  explicit History(size_t limit = kDefaultUndoLimit) : limit_(limit) {}

  // Remembers `before` (the picture as it was before an edit) under `caption`. A new edit
  // empties the redo list; past the limit the oldest entry is dropped.
  void Record(std::string caption, Image before);

  // Swaps `current` with the newest undo entry; `current` goes to the redo list under that
  // entry's caption. Returns false (and leaves `current` alone) when there is nothing to undo.
  bool Undo(Image& current);
  bool Redo(Image& current);

  bool CanUndo() const { return !undo_.empty(); }
  bool CanRedo() const { return !redo_.empty(); }
  // Captions, newest first.
  std::vector<std::string> UndoCaptions() const;
  std::vector<std::string> RedoCaptions() const;
  void Clear();
  size_t limit() const { return limit_; }

 private:
  struct Entry {
    std::string caption;
    Image image;
  };
  static void Push(std::deque<Entry>& list, Entry e, size_t limit);
  size_t limit_;
  std::deque<Entry> undo_, redo_;  // back() is the newest
};

// The capture page's edits, recording their undo entry first. A crop whose rectangle does not
// meet the picture changes nothing and records nothing.
void CropWithHistory(History& history, Image& current, Rect selection);
// Radius = width / 100, offset 3 right and 3 down, black, intensity 100.
void ShadowWithHistory(History& history, Image& current);

}  // namespace zel::img
