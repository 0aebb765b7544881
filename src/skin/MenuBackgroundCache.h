#pragma once
// The backgrounds of skinned pop-up menus: one bitmap per pop-up, found by
// the pop-up's first item and composed once, kept for the whole process
// until freed (on a skin change, and when the program ends).

#include "framework/Graphics.h"

#include <functional>
#include <memory>
#include <vector>

namespace kestu {

class MenuBackgroundCache {
 public:
  // The process's cache. It is never destroyed, so painting during the
  // destruction of other statics still finds it; its bitmaps are freed at
  // program end all the same.
  static MenuBackgroundCache& Instance();

  // The background of the pop-up keyed by `key`, at least width x height.
  // A missing or smaller one is made anew and handed to `compose`.
  TBitmap* Get(const void* key, int width, int height, const std::function<void(TBitmap*)>& compose);
  // The entry of a key that is going away, if there is one, goes with it.
  void Forget(const void* key);
  void Clear();
  int Count() const { return int(entries_.size()); }
  // How many backgrounds were composed since the program started.
  int Compositions() const { return compositions_; }

 private:
  MenuBackgroundCache() = default;
  struct Entry {
    const void* key;
    std::unique_ptr<TBitmap> bitmap;
  };
  std::vector<Entry> entries_;
  int compositions_ = 0;
};

}  // namespace kestu
