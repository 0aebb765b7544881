// The installer's command on a test form whose timeouts are two seconds: one
// button attaches the database as the installer does. For the end-to-end
// tests of a server that never answers, which then wait seconds rather than
// the installer's fifteen and thirty. Window "Timeout test"; errors show in
// the installer's error box.
#include <windows.h>

#include "app/Attach.h"
#include "framework/Forms.h"
#include "framework/StdCtrls.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  using namespace kestu;
  Application->Initialize();
  auto* form = new TForm(Application);
  form->SetCaption(L"Timeout test");
  form->SetBounds(300, 300, 320, 140);
  auto* button = new TButton(form);
  button->SetParent(form);
  button->SetCaption(L"Attach");
  button->SetBounds(80, 40, 150, 30);
  auto* command = new TADOCommand(form);
  command->SetConnectionTimeout(2);
  command->SetCommandTimeout(2);
  command->SetConnectionString(L"Provider=SQLOLEDB.1;Integrated Security=SSPI;Persist Security Info=False");
  button->SetOnClick([command](TObject*) {
    app::AttachDatabase(*command);
    Application->MessageBox(L"attached", L"Timeout test", MB_OK);
  });
  Application->SetMainForm(form);
  form->HandleNeeded();
  Application->SetTitle(app::kApplicationTitle);
  Application->Run();
  return 0;
}
