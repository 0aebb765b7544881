// The gallery's entry: build the MDI frame from its stored description, show
// it with its two skinned child windows, set the title, run.
#include <windows.h>

#include <exception>

#include "gallery/GalleryFrame.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  using namespace kestu;
  try {
    RegisterGalleryClasses();
    Application->Initialize();
    Application->CreateForm(frmGallery);
    // The children open in the frame already shown, where the scrolling one
    // can place its bars.
    frmGallery->Show();
    frmGallery->OpenChildWindows();
    Application->SetTitle(L"Kestu gallery");
    Application->Run();
  } catch (...) {
    // Only start-up can get here (a window that cannot be built).
    Application->HandleException(std::current_exception());
    return 1;
  }
  return 0;
}
