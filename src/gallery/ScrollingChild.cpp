#include "gallery/ScrollingChild.h"

namespace kestu {

KESTU_PUBLISH(TfrmScrolling) {
  p.Field("sSkinProvider1", &TfrmScrolling::sSkinProvider1);
  p.Handler("FormClose", &TfrmScrolling::FormClose);
}

void TfrmScrolling::FormClose(TObject*, TCloseAction& Action) { Action = caFree; }

}  // namespace kestu
