#pragma once
// What stands in a skinned title bar besides the standard buttons: the user
// title buttons and the replacement picture of the title icon.

#include "framework/Controls.h"
#include "framework/Graphics.h"

namespace kestu {

class TsSkinProvider;

class TsTitleButton : public TCollectionItem {
  KESTU_CLASS(TsTitleButton, TCollectionItem)
 public:
  explicit TsTitleButton(TCollection* collection);
  void Assign(const TPersistent* source) override;

  bool Enabled() const { return enabled_; }
  void SetEnabled(bool v) { enabled_ = v; }
  TBitmap* Glyph() { return &glyph_; }
  const String& Name() const { return name_; }
  void SetName(const String& v) { name_ = v; }
  bool UseSkinData() const { return useSkinData_; }
  void SetUseSkinData(bool v) { useSkinData_ = v; }
  const TMouseEvent& OnMouseDown() const { return onMouseDown_; }
  void SetOnMouseDown(TMouseEvent e) { onMouseDown_ = std::move(e); }
  const TMouseEvent& OnMouseUp() const { return onMouseUp_; }
  void SetOnMouseUp(TMouseEvent e) { onMouseUp_ = std::move(e); }

  // Run-time part: state (0 normal, 1 hot, 2 pressed), the "TITLEBUTTON"
  // image index, and the rectangle in window coordinates.
  int State = 0;
  int ImageIndex = -1;
  RECT Rect{};
  bool Laid = false;  // Rect holds a drawn position

 private:
  bool enabled_ = true;
  TBitmap glyph_;
  String name_;
  bool useSkinData_ = true;
  TMouseEvent onMouseDown_, onMouseUp_;
};

class TsTitleButtons : public TCollection {
 public:
  explicit TsTitleButtons(TsSkinProvider* provider);
  TsSkinProvider* Provider() const { return provider_; }
  TsTitleButton* Button(int i) const { return Item<TsTitleButton>(i); }

 private:
  TsSkinProvider* provider_;
};

class TsTitleIcon : public TPersistent {
  KESTU_CLASS(TsTitleIcon, TPersistent)
 public:
  void Assign(const TPersistent* source) override;
  TBitmap* Glyph() { return &glyph_; }
  int Height() const { return height_; }
  void SetHeight(int v) { height_ = v; }
  int Width() const { return width_; }
  void SetWidth(int v) { width_ = v; }

 private:
  TBitmap glyph_;
  int height_ = 16, width_ = 16;
};

}  // namespace kestu
