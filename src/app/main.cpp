// Program entry: initialise the application (COM for the main thread), build
// the installer window from its stored description, set the title, run.
#include <windows.h>

#include <exception>

#include "app/Attach.h"
#include "app/Unit1.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  using namespace kestu;
  try {
    RegisterInstallerClasses();
    Application->Initialize();
    Application->CreateForm(Form1);
    Application->SetTitle(app::kApplicationTitle);
    Application->Run();
  } catch (...) {
    // Only start-up can get here (a window that cannot be built); the loop
    // handles everything else. Say why before giving up.
    Application->HandleException(std::current_exception());
    return 1;
  }
  return 0;
}
