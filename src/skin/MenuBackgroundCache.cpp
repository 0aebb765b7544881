#include "skin/MenuBackgroundCache.h"

#include <algorithm>

namespace kestu {

namespace {

// Frees the bitmaps at program end and leaves an empty, usable cache behind.
struct FreedAtExit {
  ~FreedAtExit() { MenuBackgroundCache::Instance().Clear(); }
} freedAtExit;

}  // namespace

MenuBackgroundCache& MenuBackgroundCache::Instance() {
  static auto* cache = new MenuBackgroundCache;
  return *cache;
}

TBitmap* MenuBackgroundCache::Get(const void* key, int width, int height,
                                  const std::function<void(TBitmap*)>& compose) {
  auto it = std::find_if(entries_.begin(), entries_.end(), [key](const Entry& e) { return e.key == key; });
  if (it != entries_.end() && it->bitmap->Width() >= width && it->bitmap->Height() >= height)
    return it->bitmap.get();
  // A pop-up that grew since its background was made gets a larger one.
  auto bitmap = std::make_unique<TBitmap>(width, height);
  compose(bitmap.get());
  ++compositions_;
  if (it == entries_.end()) it = entries_.insert(entries_.end(), Entry{key, nullptr});
  it->bitmap = std::move(bitmap);
  return it->bitmap.get();
}

void MenuBackgroundCache::Forget(const void* key) {
  std::erase_if(entries_, [key](const Entry& e) { return e.key == key; });
}

void MenuBackgroundCache::Clear() { entries_.clear(); }

}  // namespace kestu
