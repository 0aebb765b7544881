#include "gallery/ControlsChild.h"

#include <string>

namespace kestu {

KESTU_PUBLISH(TfrmControls) {
  using F = TfrmControls;
  p.Field("sbHorizontal", &F::sbHorizontal);
  p.Field("sbVertical", &F::sbVertical);
  p.Field("pnlPosition", &F::pnlPosition);
  p.Field("btnDisabled", &F::btnDisabled);
  p.Field("mnuEnableButton", &F::mnuEnableButton);
  p.Handler("HorizontalChange", &F::HorizontalChange);
  p.Handler("FormClose", &F::FormClose);
  p.Handler("ResetBarsClick", &F::ResetBarsClick);
  p.Handler("EnableButtonClick", &F::EnableButtonClick);
  p.Handler("CascadeClick", &F::CascadeClick);
  p.Handler("TileClick", &F::TileClick);
  p.Handler("NextWindowClick", &F::NextWindowClick);
  p.Handler("CloseWindowClick", &F::CloseWindowClick);
}

namespace {

// The frame's MDI client, which arranges the children.
void SendToClient(UINT msg, WPARAM wParam) {
  if (TCustomForm* frame = Application->MainForm(); frame && frame->ClientHandle())
    SendMessageW(frame->ClientHandle(), msg, wParam, 0);
}

}  // namespace

void TfrmControls::HorizontalChange(TsScrollBar* Sender, int) {
  pnlPosition->SetCaption(std::to_wstring(Sender->Position()));
}

void TfrmControls::FormClose(TObject*, TCloseAction& Action) { Action = caFree; }

void TfrmControls::ResetBarsClick(TObject*) {
  sbHorizontal->SetPosition(0);
  sbVertical->SetPosition(0);
}

void TfrmControls::EnableButtonClick(TObject*) {
  mnuEnableButton->SetChecked(!mnuEnableButton->Checked());
  btnDisabled->SetEnabled(mnuEnableButton->Checked());
}

void TfrmControls::CascadeClick(TObject*) { SendToClient(WM_MDICASCADE, 0); }

void TfrmControls::TileClick(TObject*) { SendToClient(WM_MDITILE, MDITILE_VERTICAL); }

void TfrmControls::NextWindowClick(TObject*) { SendToClient(WM_MDINEXT, 0); }

void TfrmControls::CloseWindowClick(TObject*) { Close(); }

}  // namespace kestu
