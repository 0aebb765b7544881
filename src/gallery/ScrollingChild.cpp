#include "gallery/ScrollingChild.h"

namespace kestu {

KESTU_PUBLISH(TfrmScrolling) {
  p.Handler("FormClose", &TfrmScrolling::FormClose);
}

void TfrmScrolling::FormClose(TObject*, TCloseAction& Action) { Action = caFree; }

}  // namespace kestu
