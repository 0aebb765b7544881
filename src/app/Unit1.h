#pragma once
// The installer window TForm1, built from its stored description: two texts,
// the skinned button that attaches the database, the command component, the
// manifest marker, the skin manager with the built-in skin, the provider that
// skins the window's frame, and the themed success message.

#include "db/ADOCommand.h"
#include "framework/Forms.h"
#include "framework/StdCtrls.h"
#include "skin/sCustomButton.h"
#include "skin/sSkinManager.h"
#include "skin/sSkinProvider.h"
#include "themekit/SUIDlg.h"

namespace kestu {

// Marks that the program carries the common-controls manifest; nothing else.
class TXPManifest : public TComponent {
  KESTU_CLASS(TXPManifest, TComponent)
 public:
  using TComponent::TComponent;
};

class TForm1 : public TForm {
  KESTU_CLASS(TForm1, TForm)
 public:
  using TForm::TForm;

  TLabel* Label1 = nullptr;
  TLabel* Label2 = nullptr;
  TsButton* Button1 = nullptr;
  TADOCommand* ADOCommand = nullptr;
  TXPManifest* XPManifest1 = nullptr;
  TsSkinManager* sSkinManager1 = nullptr;
  TsSkinProvider* sSkinProvider1 = nullptr;
  TsuiMessageDialog* suiMessageDialog1 = nullptr;

  // Attaches the database files beside the program; on success shows the
  // message. Failures leave the handler for the application's error box.
  void Button1Click(TObject* Sender);
};

extern TForm1* Form1;

// Registers the classes the stored description names.
void RegisterInstallerClasses();

}  // namespace kestu
