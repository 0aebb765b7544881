#include "gallery/GalleryFrame.h"

#include "gallery/ControlsChild.h"
#include "gallery/ScrollingChild.h"

namespace kestu {

TfrmGallery* frmGallery = nullptr;

KESTU_PUBLISH(TfrmGallery) {
  using F = TfrmGallery;
  p.Field("ImageList1", &F::ImageList1);
  p.Field("mnuGrip", &F::mnuGrip);
  p.Field("sSkinProvider1", &F::sSkinProvider1);
  p.Field("msgAbout", &F::msgAbout);
  p.Handler("FormCreate", &F::FormCreate);
  p.Handler("ControlsWindowClick", &F::ControlsWindowClick);
  p.Handler("ScrollingWindowClick", &F::ScrollingWindowClick);
  p.Handler("ExitClick", &F::ExitClick);
  p.Handler("CaptionAlignmentClick", &F::CaptionAlignmentClick);
  p.Handler("GripClick", &F::GripClick);
  p.Handler("ThemedWindowClick", &F::ThemedWindowClick);
  p.Handler("CascadeClick", &F::CascadeClick);
  p.Handler("TileClick", &F::TileClick);
  p.Handler("NextWindowClick", &F::NextWindowClick);
  p.Handler("PinMouseUp", &F::PinMouseUp);
  p.Handler("HelpMouseUp", &F::HelpMouseUp);
}

namespace {

constexpr TColor kKeyColour = 0x00FF00FF;

void LoadProgramBitmap(TBitmap* bitmap, const wchar_t* name) {
  bitmap->LoadFromResourceName(GetModuleHandleW(nullptr), name);
}

}  // namespace

TfrmGallery::~TfrmGallery() = default;

void TfrmGallery::FormCreate(TObject*) {
  TBitmap menuImages;
  LoadProgramBitmap(&menuImages, L"GALLERY_MENU");
  ImageList1->AddMasked(&menuImages, kKeyColour);
  TsTitleButtons* buttons = sSkinProvider1->TitleButtons();
  LoadProgramBitmap(buttons->Item<TsTitleButton>(0)->Glyph(), L"TITLE_PIN");
  LoadProgramBitmap(buttons->Item<TsTitleButton>(1)->Glyph(), L"TITLE_HELP");
}

void TfrmGallery::OpenChildWindows() {
  ControlsWindowClick(this);
  ScrollingWindowClick(this);
}

void TfrmGallery::ControlsWindowClick(TObject*) { CreateFormFromResource<TfrmControls>(Application); }

void TfrmGallery::ScrollingWindowClick(TObject*) {
  auto* child = CreateFormFromResource<TfrmScrolling>(Application);
  // The provider places a form's bars on its resizes and activations; an MDI
  // child is sized before it shows and is activated without WM_ACTIVATE, so
  // it would get its bars only when first resized.
  child->sSkinProvider1->UpdateScrollBars();
}

void TfrmGallery::ExitClick(TObject*) { Close(); }

void TfrmGallery::CaptionAlignmentClick(TObject* Sender) {
  auto* item = static_cast<TMenuItem*>(Sender);
  item->SetChecked(true);  // a radio item: its group's others go out
  sSkinProvider1->SetCaptionAlignment(TAlignment(item->Tag()));
}

void TfrmGallery::GripClick(TObject*) {
  mnuGrip->SetChecked(!mnuGrip->Checked());
  sSkinProvider1->SetGripMode(mnuGrip->Checked() ? gmRightBottom : gmNone);
  sSkinProvider1->InvalidateFrame(true);
  RedrawWindow(Handle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void TfrmGallery::ThemedWindowClick(TObject* Sender) {
  const auto style = TsuiUIStyle(static_cast<TComponent*>(Sender)->Tag());
  // One description serves every style, so the windows share a name: they
  // belong to no owner and this frame frees them.
  themed_.emplace_back(CreateFormFromResource<TfrmThemed>(nullptr));
  themed_.back()->ShowInStyle(style);
}

void TfrmGallery::CascadeClick(TObject*) { SendMessageW(ClientHandle(), WM_MDICASCADE, 0, 0); }

void TfrmGallery::TileClick(TObject*) { SendMessageW(ClientHandle(), WM_MDITILE, MDITILE_VERTICAL, 0); }

void TfrmGallery::NextWindowClick(TObject*) { SendMessageW(ClientHandle(), WM_MDINEXT, 0, 0); }

void TfrmGallery::PinMouseUp(TObject*, TMouseButton, TShiftState, int, int) {
  pinned_ = !pinned_;
  SetWindowPos(Handle(), pinned_ ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TfrmGallery::HelpMouseUp(TObject*, TMouseButton, TShiftState, int, int) { msgAbout->ShowModal(); }

void RegisterGalleryClasses() {
  EnsureSkinClasses();
  RegisterClasses<TLabel, TsuiMessageDialog, TsuiButton, TsuiForm, TsuiMainMenu, TsuiPopupMenu, TsuiFileTheme,
                  TfrmGallery, TfrmControls, TfrmScrolling, TfrmThemed>();
}

}  // namespace kestu
