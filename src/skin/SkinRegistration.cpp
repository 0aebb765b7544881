// Registers every class of the skin engine with the class registry, so that
// stored form descriptions can name them, and links their code.
#include "skin/sCommonData.h"
#include "skin/sCustomButton.h"
#include "skin/sSkinManager.h"
#include "skin/sMDIForm.h"
#include "skin/sPanel.h"
#include "skin/sScrollBar.h"
#include "skin/sSkinProvider.h"
#include "skin/sSystemMenu.h"
#include "skin/sSkinMenus.h"
#include "skin/sStyleActive.h"

namespace kestu {

void EnsureSkinClasses() {
  static const bool done = [] {
    RegisterClasses<TsSkinManager, TsStoredSkin, TsSkinGeneral, TsSkinImage, TsSkinPattern, TsCommonData,
                    TsShadow, TsEffects, TsPainting, TsBGImage, TsBGGradient, TsHotBackground, TsBackground,
                    TsGenStyle, TsPaintStyle, TsPassiveBGStyle, TsHotPainting, TsHotStyle, TsFading,
                    TsMaskedBorders, TsActiveEffects, TsActiveBGStyle, TFadeTimer, TsButtonControl, TsButton,
                    TsSkinableMenus, TsSkinProvider, TsTitleButton, TsTitleIcon, TsSystemMenu, TsScrollBar,
                    TsTransparentPanel, TsCustomPanel, TsPanel, TsGrip, TsMDIForm>();
    return true;
  }();
  (void)done;
}

}  // namespace kestu
