#pragma once
// Actions: one command (caption, state, image, handler) that any number of
// controls present. A control holds a link to its action; the action tells
// every link before it changes a value, and a link passes the new value on
// only where its control still shows the old one, so a caption the control
// was given of its own stays.

#include <vector>

#include "framework/Classes.h"

namespace kestu {

class TActionLink;
class TActionList;
class TImageList;

class TBasicAction : public TComponent {
  KESTU_CLASS(TBasicAction, TComponent)
 public:
  explicit TBasicAction(TComponent* AOwner);
  ~TBasicAction() override;

  // Runs OnExecute; false when there is none.
  virtual bool Execute();
  const TNotifyEvent& OnExecute() const { return onExecute_; }
  void SetOnExecute(TNotifyEvent e) { onExecute_ = std::move(e); }

 protected:
  // The links at the time of the call (a link may go while being told).
  std::vector<TActionLink*> Links() const { return links_; }

 private:
  friend class TActionLink;
  std::vector<TActionLink*> links_;
  TNotifyEvent onExecute_;
};

class TAction : public TBasicAction {
  KESTU_CLASS(TAction, TBasicAction)
 public:
  explicit TAction(TComponent* AOwner);
  ~TAction() override;

  const String& Caption() const { return caption_; }
  void SetCaption(const String& v);
  bool Checked() const { return checked_; }
  void SetChecked(bool v);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool v);
  const String& Hint() const { return hint_; }
  void SetHint(const String& v);
  int ImageIndex() const { return imageIndex_; }
  void SetImageIndex(int v);
  bool Visible() const { return visible_; }
  void SetVisible(bool v);

  TActionList* ActionList() const { return actionList_; }
  void SetActionList(TActionList* list);
  // The reader nests actions inside their list.
  void SetParentComponent(TComponent* value) override;
  // A disabled action does nothing.
  bool Execute() override;

 private:
  friend class TActionList;
  String caption_, hint_;
  bool checked_ = false, enabled_ = true, visible_ = true;
  int imageIndex_ = -1;
  TActionList* actionList_ = nullptr;
};

// The actions of one group and the images their ImageIndex values point into.
class TActionList : public TComponent {
  KESTU_CLASS(TActionList, TComponent)
 public:
  explicit TActionList(TComponent* AOwner);
  ~TActionList() override;

  TImageList* Images() const { return images_; }
  void SetImages(TImageList* v);
  int ActionCount() const { return int(actions_.size()); }
  TAction* Actions(int i) const { return actions_.at(std::size_t(i)); }
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  friend class TAction;
  std::vector<TAction*> actions_;
  TImageList* images_ = nullptr;
};

// The client side of an action. Each IsXLinked answers whether the client
// still shows the action's current value; SetX hands the client a new one.
class TActionLink {
 public:
  TActionLink() = default;
  TActionLink(const TActionLink&) = delete;
  TActionLink& operator=(const TActionLink&) = delete;
  virtual ~TActionLink();

  TBasicAction* Action() const { return action_; }
  void SetAction(TBasicAction* action);
  bool Execute() { return action_ && action_->Execute(); }

  virtual bool IsCaptionLinked() const { return false; }
  virtual void SetCaption(const String&) {}
  virtual bool IsCheckedLinked() const { return false; }
  virtual void SetChecked(bool) {}
  virtual bool IsEnabledLinked() const { return false; }
  virtual void SetEnabled(bool) {}
  virtual bool IsHintLinked() const { return false; }
  virtual void SetHint(const String&) {}
  virtual bool IsImageIndexLinked() const { return false; }
  virtual void SetImageIndex(int) {}
  virtual bool IsVisibleLinked() const { return false; }
  virtual void SetVisible(bool) {}

 protected:
  // The action as a TAction, or nullptr for a basic one.
  TAction* FullAction() const { return dynamic_cast<TAction*>(action_); }

 private:
  friend class TBasicAction;
  TBasicAction* action_ = nullptr;
};

}  // namespace kestu
