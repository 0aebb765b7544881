// Values a control takes from its parent while it has none of its own:
// right-to-left mode and whether hints show, each with its Parent* switch.
#include "framework/Controls.h"

namespace kestu {

void TControl::SetParentBiDiMode(bool v) {
  if (v == parentBiDiMode_) return;
  parentBiDiMode_ = v;
  if (v && parent_) Perform(CM_PARENTBIDIMODECHANGED);
}

void TControl::SetShowHint(bool v) {
  if (v == showHint_) return;
  showHint_ = v;
  parentShowHint_ = false;
  Perform(CM_SHOWHINTCHANGED);
}

void TControl::SetParentShowHint(bool v) {
  if (v == parentShowHint_) return;
  parentShowHint_ = v;
  if (v && parent_) Perform(CM_PARENTSHOWHINTCHANGED);
}

// A new parent, or a parent whose value changed.
void TControl::TakeParentValues() {
  if (!parent_) return;
  if (parentBiDiMode_ && parent_->BiDiMode() != biDiMode_) {
    biDiMode_ = parent_->BiDiMode();
    Perform(CM_BIDIMODECHANGED);
  }
  if (parentShowHint_ && parent_->ShowHint() != showHint_) {
    showHint_ = parent_->ShowHint();
    Perform(CM_SHOWHINTCHANGED);
  }
}

}  // namespace kestu
