#pragma once
// The test form stored as TSKINTESTFORM: a skinned button and the skin manager
// with the installer's engine values; counts the button's clicks.
#include "framework/Forms.h"
#include "skin/sCustomButton.h"
#include "skin/sSkinManager.h"

namespace kestu {

class TSkinTestForm : public TForm {
  KESTU_CLASS(TSkinTestForm, TForm)
 public:
  using TForm::TForm;
  TsButton* Button1 = nullptr;
  TsSkinManager* sSkinManager1 = nullptr;
  int clicks = 0;
  void Button1Click(TObject*) { ++clicks; }
};
KESTU_PUBLISH(TSkinTestForm) {
  p.Field("Button1", &TSkinTestForm::Button1);
  p.Field("sSkinManager1", &TSkinTestForm::sSkinManager1);
  p.Handler("Button1Click", &TSkinTestForm::Button1Click);
}

}  // namespace kestu
