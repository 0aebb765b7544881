#include "gallery/ControlsChild.h"

#include <string>

namespace kestu {

KESTU_PUBLISH(TfrmControls) {
  p.Field("sbHorizontal", &TfrmControls::sbHorizontal);
  p.Field("pnlPosition", &TfrmControls::pnlPosition);
  p.Handler("HorizontalChange", &TfrmControls::HorizontalChange);
  p.Handler("FormClose", &TfrmControls::FormClose);
}

void TfrmControls::HorizontalChange(TsScrollBar* Sender, int) {
  pnlPosition->SetCaption(std::to_wstring(Sender->Position()));
}

void TfrmControls::FormClose(TObject*, TCloseAction& Action) { Action = caFree; }

}  // namespace kestu
