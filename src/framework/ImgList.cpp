#include "framework/ImgList.h"

namespace kestu {

KESTU_PUBLISH(TImageList) {
  p.Int("Width", &TImageList::Width, &TImageList::SetWidth, 16);
  p.Int("Height", &TImageList::Height, &TImageList::SetHeight, 16);
  p.Color("BkColor", &TImageList::BkColor, &TImageList::SetBkColor, clNone);
}

TImageList::TImageList(TComponent* AOwner) : TComponent(AOwner) {}

TImageList::~TImageList() {
  if (handle_) ImageList_Destroy(handle_);
}

void TImageList::Changed() {
  if (onChange_) onChange_(this);
  // A handler may remove itself (or another) while being told.
  const auto handlers = changeHandlers_;
  for (const auto& [id, handler] : handlers) handler();
}

int TImageList::AddChangeHandler(std::function<void()> handler) {
  changeHandlers_.emplace_back(nextChangeHandlerId_, std::move(handler));
  return nextChangeHandlerId_++;
}

void TImageList::RemoveChangeHandler(int id) {
  std::erase_if(changeHandlers_, [id](const auto& h) { return h.first == id; });
}

void TImageList::SetBkColor(TColor v) {
  if (v == bkColor_) return;
  bkColor_ = v;
  if (handle_) ImageList_SetBkColor(handle_, v == clNone ? CLR_NONE : ColorToRGB(v));
  Changed();
}

void TImageList::Recreate() {
  if (handle_) ImageList_Destroy(handle_);
  handle_ = nullptr;
  Changed();
}

void TImageList::SetWidth(int v) {
  if (v == width_ || v <= 0) return;
  width_ = v;
  Recreate();
}

void TImageList::SetHeight(int v) {
  if (v == height_ || v <= 0) return;
  height_ = v;
  Recreate();
}

HIMAGELIST TImageList::Handle() {
  if (!handle_) {
    handle_ = ImageList_Create(width_, height_, ILC_COLOR24 | ILC_MASK, 0, 4);
    if (!handle_) throw Exception(L"Cannot create the image list");
    if (bkColor_ != clNone) ImageList_SetBkColor(handle_, ColorToRGB(bkColor_));
  }
  return handle_;
}

int TImageList::Count() const { return handle_ ? ImageList_GetImageCount(handle_) : 0; }

int TImageList::AddMasked(TBitmap* bitmap, TColor mask) {
  // The list changes the pixels it is given; it gets a copy.
  TBitmap copy;
  copy.Assign(bitmap);
  const int first = ImageList_AddMasked(Handle(), copy.Handle(), ColorToRGB(mask));
  if (first < 0) throw Exception(L"Cannot add the image to the list");
  Changed();
  return first;
}

int TImageList::Add(TBitmap* bitmap) {
  TBitmap copy;
  copy.Assign(bitmap);
  const int first = ImageList_Add(Handle(), copy.Handle(), nullptr);
  if (first < 0) throw Exception(L"Cannot add the image to the list");
  Changed();
  return first;
}

void TImageList::Clear() {
  if (handle_ && ImageList_GetImageCount(handle_) > 0) {
    ImageList_Remove(handle_, -1);
    Changed();
  }
}

void TImageList::Draw(TCanvas* canvas, int x, int y, int index, bool enabled) {
  if (!handle_ || index < 0 || index >= Count()) return;
  if (enabled) {
    ImageList_Draw(handle_, index, canvas->Handle(), x, y, ILD_TRANSPARENT);
    return;
  }
  HICON icon = ImageList_GetIcon(handle_, index, ILD_TRANSPARENT);
  if (!icon) return;
  DrawStateW(canvas->Handle(), nullptr, nullptr, LPARAM(icon), 0, x, y, width_, height_, DST_ICON | DSS_DISABLED);
  DestroyIcon(icon);
}

void TImageList::GetBitmap(int index, TBitmap* bitmap) {
  bitmap->SetSize(width_, height_);
  if (handle_ && index >= 0 && index < Count())
    ImageList_Draw(handle_, index, bitmap->Canvas()->Handle(), 0, 0, ILD_NORMAL);
}

}  // namespace kestu
