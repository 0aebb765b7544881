#include "app/Unit1.h"

#include "app/Attach.h"

namespace kestu {

TForm1* Form1 = nullptr;

KESTU_PUBLISH(TXPManifest) {}

KESTU_PUBLISH(TForm1) {
  p.Field("Label1", &TForm1::Label1);
  p.Field("Label2", &TForm1::Label2);
  p.Field("Button1", &TForm1::Button1);
  p.Field("ADOCommand", &TForm1::ADOCommand);
  p.Field("XPManifest1", &TForm1::XPManifest1);
  p.Field("sSkinManager1", &TForm1::sSkinManager1);
  p.Field("sSkinProvider1", &TForm1::sSkinProvider1);
  p.Field("suiMessageDialog1", &TForm1::suiMessageDialog1);
  p.Handler("Button1Click", &TForm1::Button1Click);
}

void TForm1::Button1Click(TObject*) {
  app::AttachDatabase(*ADOCommand);
  suiMessageDialog1->ShowModal();
}

void RegisterInstallerClasses() {
  EnsureSkinClasses();
  RegisterClasses<TLabel, TADOCommand, TXPManifest, TsuiMessageDialog, TForm1>();
}

}  // namespace kestu
