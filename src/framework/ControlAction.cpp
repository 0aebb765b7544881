// A control's action: the link that carries the action's values to it.
#include "framework/ControlActionLink.h"
#include "framework/Menus.h"

namespace kestu {

bool TControlActionLink::IsCaptionLinked() const {
  TAction* a = FullAction();
  return a && client_->Caption() == a->Caption();
}
void TControlActionLink::SetCaption(const String& v) { client_->SetCaption(v); }

bool TControlActionLink::IsEnabledLinked() const {
  TAction* a = FullAction();
  return a && client_->Enabled() == a->Enabled();
}
void TControlActionLink::SetEnabled(bool v) { client_->SetEnabled(v); }

bool TControlActionLink::IsHintLinked() const {
  TAction* a = FullAction();
  return a && client_->Hint() == a->Hint();
}
void TControlActionLink::SetHint(const String& v) { client_->SetHint(v); }

bool TControlActionLink::IsVisibleLinked() const {
  TAction* a = FullAction();
  return a && client_->Visible() == a->Visible();
}
void TControlActionLink::SetVisible(bool v) { client_->SetVisible(v); }

TBasicAction* TControl::Action() const { return actionLink_ ? actionLink_->Action() : nullptr; }

void TControl::SetAction(TBasicAction* v) {
  if (v == Action()) return;
  if (TBasicAction* old = Action()) old->RemoveFreeNotification(this);
  if (!v) {
    actionLink_.reset();
    return;
  }
  if (!actionLink_) actionLink_ = CreateActionLink();
  actionLink_->SetAction(v);
  v->FreeNotification(this);
  ActionChange(v, HasState(csLoading));
}

std::unique_ptr<TControlActionLink> TControl::CreateActionLink() {
  return std::make_unique<TControlActionLink>(this);
}

void TControl::ActionChange(TBasicAction* sender, bool checkDefaults) {
  auto* action = dynamic_cast<TAction*>(sender);
  if (!action) return;
  if (!checkDefaults || Caption().empty()) SetCaption(action->Caption());
  if (!checkDefaults || Enabled()) SetEnabled(action->Enabled());
  if (!checkDefaults || Hint().empty()) SetHint(action->Hint());
  if (!checkDefaults || Visible()) SetVisible(action->Visible());
}

void TControl::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  // A dying action has already let go of its links.
  if (actionLink_ && (AComponent == actionLink_->Action() || !actionLink_->Action())) actionLink_.reset();
  if (AComponent == popupMenu_) popupMenu_ = nullptr;
}

}  // namespace kestu
