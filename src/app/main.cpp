// Program entry: initialise the application (COM for the main thread), build
// the installer window from its stored description, set the title, run.
#include <windows.h>

#include "app/Attach.h"
#include "app/Unit1.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  using namespace kestu;
  RegisterInstallerClasses();
  Application->Initialize();
  Application->CreateForm(Form1);
  Application->SetTitle(app::kApplicationTitle);
  Application->Run();
  return 0;
}
