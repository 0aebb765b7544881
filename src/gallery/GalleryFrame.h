#pragma once
// The gallery's main window TfrmGallery, built from its stored description: a
// skinned MDI frame with a main menu (shortcuts, checked and radio items,
// images, dividers, caption items, a sub-menu), user title buttons with
// glyphs and the size grip. Its menus open the skinned child windows and one
// toolkit window per style; the system menu switches skins.

#include <memory>
#include <vector>

#include "gallery/ThemedWindow.h"
#include "framework/Forms.h"
#include "framework/ImgList.h"
#include "framework/Menus.h"
#include "skin/sSkinManager.h"
#include "skin/sSkinProvider.h"
#include "themekit/SUIDlg.h"

namespace kestu {

class TfrmGallery : public TForm {
  KESTU_CLASS(TfrmGallery, TForm)
 public:
  using TForm::TForm;
  ~TfrmGallery() override;

  TImageList* ImageList1 = nullptr;
  TMenuItem* mnuGrip = nullptr;
  TsSkinProvider* sSkinProvider1 = nullptr;
  TsuiMessageDialog* msgAbout = nullptr;

  // Menu images and title-button glyphs from the program's bitmaps.
  void FormCreate(TObject* Sender);
  // The two skinned child windows; they need the frame as the main form,
  // and shown.
  void OpenChildWindows();
  void ControlsWindowClick(TObject* Sender);
  void ScrollingWindowClick(TObject* Sender);
  void ExitClick(TObject* Sender);
  // The caption's alignment from the radio item's Tag (a TAlignment).
  void CaptionAlignmentClick(TObject* Sender);
  void GripClick(TObject* Sender);
  // A toolkit window in the style of the item's Tag (0: the theme file).
  void ThemedWindowClick(TObject* Sender);
  void CascadeClick(TObject* Sender);
  void TileClick(TObject* Sender);
  void NextWindowClick(TObject* Sender);
  // Title buttons: the pin keeps the frame above other windows, the help
  // button tells what the gallery is.
  void PinMouseUp(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
  void HelpMouseUp(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);

 private:
  std::vector<std::unique_ptr<TfrmThemed>> themed_;
  bool pinned_ = false;
};

extern TfrmGallery* frmGallery;

// Registers the classes the gallery's stored descriptions name.
void RegisterGalleryClasses();

}  // namespace kestu
