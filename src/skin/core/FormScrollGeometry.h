#pragma once
// Where the skinned scroll bars of a scrolling form go: which bars the
// content needs, their ranges, pages and rectangles in the form's client
// area, and the size grip's corner when both are shown. Pure arithmetic.

#include "base/PixRect.h"

namespace kestu {

struct FormScrollInput {
  int ClientWidth = 0, ClientHeight = 0;
  // The largest Bottom and Right of the children that scroll, bars excluded.
  int ContentBottom = 0, ContentRight = 0;
  // The form's own scroll-bar ranges (0: measure the content).
  int VertRange = 0, HorzRange = 0;
  int VScrollWidth = 17, HScrollHeight = 17;  // SM_CXVSCROLL, SM_CYHSCROLL
  bool RightToLeft = false;
};

struct FormScrollBarPlan {
  bool Exists = false;
  int Range = 0, Page = 0, Max = 0;
  PixRect Rect;  // in client coordinates, Right and Bottom exclusive
};

struct FormScrollPlan {
  FormScrollBarPlan Vert, Horz;
  bool Grip = false;
  PixRect GripRect;
};

FormScrollPlan PlanFormScrollBars(const FormScrollInput& in);

}  // namespace kestu
