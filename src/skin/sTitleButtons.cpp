#include "skin/sTitleButtons.h"

#include "skin/sSkinProvider.h"

namespace kestu {

TsTitleButton::TsTitleButton(TCollection* collection) : TCollectionItem(collection), name_(L"TsTitleButton") {}

void TsTitleButton::Assign(const TPersistent* source) {
  TCollectionItem::Assign(source);
  if (auto* other = dynamic_cast<const TsTitleButton*>(source)) {
    onMouseDown_ = other->onMouseDown_;
    onMouseUp_ = other->onMouseUp_;
  }
}

TsTitleButtons::TsTitleButtons(TsSkinProvider* provider)
    : TCollection(TsTitleButton::StaticClass(), provider), provider_(provider) {}

void TsTitleIcon::Assign(const TPersistent* source) {
  auto* other = dynamic_cast<const TsTitleIcon*>(source);
  if (!other) return TPersistent::Assign(source);
  glyph_.Assign(&other->glyph_);
  width_ = other->width_;
  height_ = other->height_;
}

KESTU_PUBLISH(TsTitleButton) {
  using B = TsTitleButton;
  p.Bool("Enabled", &B::Enabled, &B::SetEnabled, true);
  p.Object("Glyph", &B::Glyph);
  p.Str("Name", &B::Name, &B::SetName);
  p.Bool("UseSkinData", &B::UseSkinData, &B::SetUseSkinData, true);
  p.Event("OnMouseDown", &B::SetOnMouseDown);
  p.Event("OnMouseUp", &B::SetOnMouseUp);
}

KESTU_PUBLISH(TsTitleIcon) {
  p.Object("Glyph", &TsTitleIcon::Glyph);
  p.Int("Height", &TsTitleIcon::Height, &TsTitleIcon::SetHeight, 16);
  p.Int("Width", &TsTitleIcon::Width, &TsTitleIcon::SetWidth, 16);
}

}  // namespace kestu
