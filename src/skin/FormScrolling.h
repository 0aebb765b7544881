#pragma once
// The skinned scroll bars of a scrolling form (its AutoScroll saved by the
// skin provider): measures the content, creates, places and removes the two
// TsScrollBar controls and the size grip between them, and scrolls the
// form's children when a bar moves.

#include "framework/Forms.h"
#include "skin/core/FormScrollGeometry.h"

namespace kestu {

class TsScrollBar;
class TsGrip;

class TsFormScrolling {
 public:
  explicit TsFormScrolling(TCustomForm* form) : form_(form) {}
  ~TsFormScrolling();
  TsFormScrolling(const TsFormScrolling&) = delete;
  TsFormScrolling& operator=(const TsFormScrolling&) = delete;

  // The largest Bottom and Right of the children that scroll.
  void MeasureContent();
  // Brings the bars in line with the content; wanted false removes them.
  void Update(bool wanted);
  // Hands a skin message to the bars and the grip.
  void Broadcast(UINT msg);

  TsScrollBar* VertBar() const { return vert_; }
  TsScrollBar* HorzBar() const { return horz_; }
  TsGrip* Grip() const { return grip_; }
  int ContentBottom() const { return contentBottom_; }
  int ContentRight() const { return contentRight_; }
  bool Owns(TControl* control) const;

 private:
  void Place(TsScrollBar*& bar, const FormScrollBarPlan& plan, bool vertical);
  void Remove(TsScrollBar*& bar, bool vertical);
  void Scrolled(bool vertical, int position);
  void MoveChildren(int dx, int dy);

  TCustomForm* form_;
  TsScrollBar* vert_ = nullptr;
  TsScrollBar* horz_ = nullptr;
  TsGrip* grip_ = nullptr;
  int contentBottom_ = 0, contentRight_ = 0;
  int offsetX_ = 0, offsetY_ = 0;  // how far the children have been scrolled
};

}  // namespace kestu
