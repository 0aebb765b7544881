#pragma once
// Equal-sized images in one comctl32 image list, drawn normally or greyed.

#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <utility>
#include <vector>

#include "framework/Graphics.h"

namespace kestu {

class TImageList : public TComponent {
  KESTU_CLASS(TImageList, TComponent)
 public:
  explicit TImageList(TComponent* AOwner);
  ~TImageList() override;

  int Width() const { return width_; }
  void SetWidth(int v);
  int Height() const { return height_; }
  void SetHeight(int v);
  // Drawn behind the images; clNone draws them over what is there.
  TColor BkColor() const { return bkColor_; }
  void SetBkColor(TColor v);
  int Count() const;
  HIMAGELIST Handle();

  // Adds the images of a strip as wide as a multiple of Width; pixels of
  // `mask` colour become transparent. Returns the index of the first.
  int AddMasked(TBitmap* bitmap, TColor mask);
  int Add(TBitmap* bitmap);
  void Clear();
  void Draw(TCanvas* canvas, int x, int y, int index, bool enabled = true);
  void GetBitmap(int index, TBitmap* bitmap);
  const TNotifyEvent& OnChange() const { return onChange_; }
  void SetOnChange(TNotifyEvent e) { onChange_ = std::move(e); }
  // The change link of each user: told of every change after OnChange.
  int AddChangeHandler(std::function<void()> handler);
  void RemoveChangeHandler(int id);

 private:
  void Recreate();
  void Changed();
  int width_ = 16, height_ = 16;
  TColor bkColor_ = clNone;
  HIMAGELIST handle_ = nullptr;
  TNotifyEvent onChange_;
  std::vector<std::pair<int, std::function<void()>>> changeHandlers_;
  int nextChangeHandlerId_ = 1;
};

}  // namespace kestu
