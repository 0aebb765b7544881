#include "framework/ActnList.h"

#include <algorithm>

#include "framework/ImgList.h"

namespace kestu {

KESTU_PUBLISH(TBasicAction) { p.Event("OnExecute", &TBasicAction::SetOnExecute); }

KESTU_PUBLISH(TAction) {
  p.Str("Caption", &TAction::Caption, &TAction::SetCaption);
  p.Bool("Checked", &TAction::Checked, &TAction::SetChecked, false);
  p.Bool("Enabled", &TAction::Enabled, &TAction::SetEnabled, true);
  p.Str("Hint", &TAction::Hint, &TAction::SetHint);
  p.Int("ImageIndex", &TAction::ImageIndex, &TAction::SetImageIndex, -1);
  p.Bool("Visible", &TAction::Visible, &TAction::SetVisible, true);
}

KESTU_PUBLISH(TActionList) { p.Ref("Images", &TActionList::Images, &TActionList::SetImages); }

// ---- basic action and links

TBasicAction::TBasicAction(TComponent* AOwner) : TComponent(AOwner) {}

TBasicAction::~TBasicAction() {
  for (TActionLink* link : links_) link->action_ = nullptr;
}

bool TBasicAction::Execute() {
  if (!onExecute_) return false;
  onExecute_(this);
  return true;
}

TActionLink::~TActionLink() { SetAction(nullptr); }

void TActionLink::SetAction(TBasicAction* action) {
  if (action == action_) return;
  if (action_) std::erase(action_->links_, this);
  action_ = action;
  if (action_) action_->links_.push_back(this);
}

// ---- action

TAction::TAction(TComponent* AOwner) : TBasicAction(AOwner) {}

TAction::~TAction() { SetActionList(nullptr); }

bool TAction::Execute() { return enabled_ && TBasicAction::Execute(); }

// Each setter asks the links before the value changes: "linked" compares the
// client's value with the old one.
void TAction::SetCaption(const String& v) {
  if (v == caption_) return;
  for (TActionLink* link : Links())
    if (link->IsCaptionLinked()) link->SetCaption(v);
  caption_ = v;
}

void TAction::SetChecked(bool v) {
  if (v == checked_) return;
  for (TActionLink* link : Links())
    if (link->IsCheckedLinked()) link->SetChecked(v);
  checked_ = v;
}

void TAction::SetEnabled(bool v) {
  if (v == enabled_) return;
  for (TActionLink* link : Links())
    if (link->IsEnabledLinked()) link->SetEnabled(v);
  enabled_ = v;
}

void TAction::SetHint(const String& v) {
  if (v == hint_) return;
  for (TActionLink* link : Links())
    if (link->IsHintLinked()) link->SetHint(v);
  hint_ = v;
}

void TAction::SetImageIndex(int v) {
  if (v == imageIndex_) return;
  for (TActionLink* link : Links())
    if (link->IsImageIndexLinked()) link->SetImageIndex(v);
  imageIndex_ = v;
}

void TAction::SetVisible(bool v) {
  if (v == visible_) return;
  for (TActionLink* link : Links())
    if (link->IsVisibleLinked()) link->SetVisible(v);
  visible_ = v;
}

void TAction::SetActionList(TActionList* list) {
  if (list == actionList_) return;
  if (actionList_) std::erase(actionList_->actions_, this);
  actionList_ = list;
  if (actionList_) actionList_->actions_.push_back(this);
}

void TAction::SetParentComponent(TComponent* value) {
  if (auto* list = dynamic_cast<TActionList*>(value)) SetActionList(list);
}

// ---- action list

TActionList::TActionList(TComponent* AOwner) : TComponent(AOwner) {}

TActionList::~TActionList() {
  for (TAction* action : actions_) action->actionList_ = nullptr;
}

void TActionList::SetImages(TImageList* v) {
  if (v == images_) return;
  if (images_) images_->RemoveFreeNotification(this);
  images_ = v;
  if (v) v->FreeNotification(this);
}

void TActionList::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == images_) images_ = nullptr;
}

}  // namespace kestu
