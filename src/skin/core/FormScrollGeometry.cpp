#include "skin/core/FormScrollGeometry.h"

#include <algorithm>

namespace kestu {
namespace {

// range: the form's own when set (or the content when larger); page and
// highest position keep a two-pixel margin at both ends.
FormScrollBarPlan PlanBar(int ownRange, int content, int client) {
  FormScrollBarPlan bar;
  bar.Range = ownRange != 0 ? std::max(ownRange, content) : content;
  bar.Page = client - 4;
  bar.Max = bar.Range - client + 4;
  bar.Exists = bar.Page + 4 < bar.Range && bar.Max > 0;
  return bar;
}

}  // namespace

FormScrollPlan PlanFormScrollBars(const FormScrollInput& in) {
  FormScrollPlan plan;
  // Each bar adds its thickness to the content the other bar measures; two
  // rounds settle it (a bar that appears can make the other one needed).
  bool vert = false, horz = false;
  for (int round = 0; round < 2; ++round) {
    const int contentHeight = in.ContentBottom + (horz ? in.HScrollHeight : 0) + 2;
    const int contentWidth = in.ContentRight + (vert ? in.VScrollWidth : 0) + 2;
    plan.Vert = PlanBar(in.VertRange, contentHeight, in.ClientHeight);
    plan.Horz = PlanBar(in.HorzRange, contentWidth, in.ClientWidth);
    vert = plan.Vert.Exists;
    horz = plan.Horz.Exists;
  }
  const int W = in.ClientWidth, H = in.ClientHeight, CX = in.VScrollWidth, CY = in.HScrollHeight;
  plan.Vert.Rect = in.RightToLeft ? PixRect{1, 1, CX + 1, H - 1} : PixRect{W - CX, 0, W, H};
  plan.Horz.Rect = {0, H - CY, W, H};
  plan.Grip = vert && horz;
  if (plan.Grip) {
    plan.Vert.Rect.Bottom = std::min(plan.Vert.Rect.Bottom, H - CY);
    if (in.RightToLeft) {
      plan.Horz.Rect.Left += CX;
      plan.GripRect = {0, H - CY, CX, H};
    } else {
      plan.Horz.Rect.Right -= CX;
      plan.GripRect = {W - CX, H - CY, W, H};
    }
  }
  return plan;
}

}  // namespace kestu
