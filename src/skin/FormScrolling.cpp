#include "skin/FormScrolling.h"

#include "skin/sPanel.h"
#include "skin/sScrollBar.h"

#include <algorithm>

namespace kestu {

TsFormScrolling::~TsFormScrolling() {
  // The bars are owned by the form; when the form goes first they are gone.
  if (form_ && !form_->HasState(csDestroying)) Update(false);
}

bool TsFormScrolling::Owns(TControl* control) const {
  return control && (control == vert_ || control == horz_ || control == grip_);
}

void TsFormScrolling::MeasureContent() {
  contentBottom_ = contentRight_ = 0;
  if (!form_) return;
  for (TControl* child : form_->ControlList()) {
    if (Owns(child) || !child->Visible()) continue;
    const TAlign a = child->Align();
    // Measured where they would stand unscrolled.
    if (a == alNone || a == alTop) contentBottom_ = std::max(contentBottom_, child->Top() + offsetY_ + child->Height());
    if (a == alNone || a == alLeft) contentRight_ = std::max(contentRight_, child->Left() + offsetX_ + child->Width());
  }
}

void TsFormScrolling::Update(bool wanted) {
  if (!form_) return;
  FormScrollPlan plan;
  if (wanted) {
    MeasureContent();
    FormScrollInput in;
    in.ClientWidth = form_->ClientWidth();
    in.ClientHeight = form_->ClientHeight();
    in.ContentBottom = contentBottom_;
    in.ContentRight = contentRight_;
    in.VertRange = form_->VertScrollBar()->Range();
    in.HorzRange = form_->HorzScrollBar()->Range();
    in.VScrollWidth = GetSystemMetrics(SM_CXVSCROLL);
    in.HScrollHeight = GetSystemMetrics(SM_CYHSCROLL);
    in.RightToLeft = form_->BiDiMode() == bdRightToLeft;
    plan = PlanFormScrollBars(in);
  }
  if (plan.Vert.Exists) Place(vert_, plan.Vert, true);
  else Remove(vert_, true);
  if (plan.Horz.Exists) Place(horz_, plan.Horz, false);
  else Remove(horz_, false);
  if (plan.Grip) {
    if (!grip_) {
      grip_ = new TsGrip(form_);
      grip_->LinkedForm = form_;
      grip_->SetParent(form_);
    }
    const PixRect r = plan.GripRect;
    grip_->SetBounds(r.Left, r.Top, r.Width(), r.Height());
    grip_->SetVisible(true);
  } else if (grip_) {
    delete grip_;
    grip_ = nullptr;
  }
}

void TsFormScrolling::Place(TsScrollBar*& bar, const FormScrollBarPlan& plan, bool vertical) {
  if (!bar) {
    bar = new TsScrollBar(form_);
    bar->SetVisible(false);
    bar->SetKind(vertical ? sbVertical : sbHorizontal);
    bar->SetParent(form_);
    bar->SetSmallChange(vertical ? form_->VertScrollBar()->Increment() : form_->HorzScrollBar()->Increment());
    bar->SetLargeChange(80);
    bar->SetOnChange([this, vertical](TsScrollBar* sender, int) { Scrolled(vertical, sender->Position()); });
  }
  bar->MouseScrolling = true;
  bar->SetPageSize(plan.Page);
  bar->SetParams(bar->Position(), 0, plan.Max);
  bar->MouseScrolling = false;
  const PixRect r = plan.Rect;
  bar->SetBounds(r.Left, r.Top, r.Width(), r.Height());
  bar->SetVisible(true);
}

void TsFormScrolling::Remove(TsScrollBar*& bar, bool vertical) {
  // Back to where the content stood before it was scrolled.
  if (vertical && offsetY_ != 0) MoveChildren(0, offsetY_), offsetY_ = 0;
  if (!vertical && offsetX_ != 0) MoveChildren(offsetX_, 0), offsetX_ = 0;
  if (!bar) return;
  delete bar;
  bar = nullptr;
  if (form_->HandleAllocated()) InvalidateRect(form_->Handle(), nullptr, FALSE);
}

void TsFormScrolling::Scrolled(bool vertical, int position) {
  int& offset = vertical ? offsetY_ : offsetX_;
  const int d = position - offset;
  if (d == 0) return;
  offset = position;
  MoveChildren(vertical ? 0 : -d, vertical ? -d : 0);
}

void TsFormScrolling::MoveChildren(int dx, int dy) {
  for (TControl* child : std::vector(form_->ControlList())) {
    if (Owns(child)) continue;
    child->SetBounds(child->Left() + dx, child->Top() + dy, child->Width(), child->Height());
    child->Invalidate();
  }
}

void TsFormScrolling::Broadcast(UINT msg) {
  for (TControl* c : {static_cast<TControl*>(vert_), static_cast<TControl*>(horz_), static_cast<TControl*>(grip_)})
    if (c) c->Perform(msg, 0, 0);
}

}  // namespace kestu
