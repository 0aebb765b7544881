// Registers every framework class with the class registry before the first
// lookup by name, and makes sure their code is linked into every program.
#include "framework/ActnList.h"
#include "framework/Classes.h"
#include "framework/ComCtrls.h"
#include "framework/Forms.h"
#include "framework/Graphics.h"
#include "framework/ImgList.h"
#include "framework/StdCtrls.h"

namespace kestu {

void EnsureFrameworkClasses() {
  static const bool done = [] {
    RegisterClasses<TObject, TPersistent, TComponent, TCollection, TCollectionItem, TFont, TBrush, TPen,
                    TCanvas, TBitmap, TIcon, TPicture, TSizeConstraints, TControl, TWinControl, TCustomControl,
                    TGraphicControl, TCustomForm, TForm, TApplication, TScreen, TLabel, TButton, TPanel, TImage,
                    TTimer, TMenuItem, TMenu, TMainMenu, TPopupMenu, TImageList, TScrollBar, TJPEGImage,
                    TControlScrollBar, TToolBar, TToolButton, TBasicAction, TAction, TActionList>();
    return true;
  }();
  (void)done;
}

}  // namespace kestu
