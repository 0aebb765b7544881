#pragma once
// TsSkinProvider: the component that gives its form a skinned frame. It
// takes over the form's native window procedure and draws the whole
// non-client area (borders, title bar with icon, caption and buttons, the
// menu line) and the client background from the current skin, cuts the
// window's corners by a region and runs the title buttons' states.

#include "framework/Forms.h"
#include "framework/StdCtrls.h"
#include "skin/FormScrolling.h"
#include "skin/core/FrameGeometry.h"
#include "skin/sCommonData.h"
#include "skin/sSkinManager.h"
#include "skin/TitleBarAccessible.h"
#include "skin/sTitleButtons.h"

#include <memory>

namespace kestu {

class TsSystemMenu;
class TsSkinProvider;

enum TsGripMode { gmNone, gmRightBottom };

// Where MDI support plugs into the provider of an MDI frame form.
class TsMDISupport {
 public:
  virtual ~TsMDISupport() = default;
  virtual void Refresh() = 0;           // after sizes and activation change
  virtual void RefreshFrame() = 0;      // the frame form's frame after child changes
  virtual bool ChildMaximized() = 0;    // the active child is maximised
};

// One title-button record of the provider: state, image and rectangle.
struct TitleButtonRecord {
  int State = 0;  // 0 normal, 1 hot, 2 pressed
  int ImageIndex = -1;
  RECT Rect{};
  bool Laid = false;
};

class TsSkinProvider : public TComponent, public TsSkinMessageTarget {
  KESTU_CLASS(TsSkinProvider, TComponent)
 public:
  explicit TsSkinProvider(TComponent* AOwner);
  ~TsSkinProvider() override;

  TBorderIcons BorderIcons() const { return borderIcons_; }
  void SetBorderIcons(TBorderIcons v) { borderIcons_ = v; }
  TAlignment CaptionAlignment() const { return captionAlignment_; }
  void SetCaptionAlignment(TAlignment v);
  TsGripMode GripMode() const { return gripMode_; }
  void SetGripMode(TsGripMode v) { gripMode_ = v; }
  bool MakeSkinMenu() const { return makeSkinMenu_; }
  void SetMakeSkinMenu(bool v) { makeSkinMenu_ = v; }
  bool ShowAppIcon() const { return showAppIcon_; }
  void SetShowAppIcon(bool v);
  TsTitleButtons* TitleButtons() { return &titleButtons_; }
  void SetTitleButtons(TCollection* v) { titleButtons_.Assign(v); }
  TsTitleIcon* TitleIcon() { return &titleIcon_; }

  TCustomForm* Form() const { return form_; }
  TsCommonData* SkinState() { return &skinState_; }
  TsSystemMenu* SystemMenu() const { return systemMenu_; }
  TsSkinManager* Manager() const { return manager_; }
  // The whole window as last composed.
  TBitmap* FrameBitmap() { return skinState_.CacheBitmap.get(); }
  // The menu line's background without items (the menu painter's parent).
  TBitmap* MenuLineBitmap() { return &menuLineBitmap_; }

  // The geometry of the frame for the current skin, style and size.
  FrameMetrics Metrics();
  int SysBorderX() { return Metrics().SysBorderX; }
  int SysBorderY() { return Metrics().SysBorderY; }
  int CaptionHeight() { return Metrics().CaptionHeight; }
  // The skin draws this form now (skin loaded, "FORM" section present, ...).
  bool SkinActive();
  bool FrameInvalid() const { return frameInvalid_; }
  // Marks the frame for recomposition; dropping the title cache forces the
  // full path.
  void InvalidateFrame(bool dropTitleCache = false) {
    frameInvalid_ = true;
    if (dropTitleCache) titleCache_.reset();
  }
  int HotButton() const { return hotButton_; }
  // Where the menu line put each shown top-level item at the last composition.
  const std::vector<std::pair<TMenuItem*, RECT>>& MenuItemRects() const { return menuItemRects_; }
  const TitleButtonRecord& StandardButton(int i) const { return buttons_[i]; }
  // How often the frame was recomposed in full or from the title cache.
  int FullCompositions() const { return fullCompositions_; }
  int FastCompositions() const { return fastCompositions_; }

  void Loaded() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void SkinMessage(TMessage& message) override;

  void BuildFrame();
  void PaintFrame();
  void PaintClient();
  int HitTest(POINT screen);
  void SetHotButton(int code);
  void SetPressedButton(int code);
  void RedrawTitleButton(int code);
  void UpdateRegion();
  // Skinned scroll bars of a form whose AutoScroll was on (not of MDI frames).
  void UpdateScrollBars();
  TsFormScrolling* Scrolling() { return scrolling_.get(); }
  void ShowSystemMenu(int x, int y);
  // What pressing and releasing the mouse on a title button does, by its
  // hit code (a screen reader's press).
  void PressTitleButton(int code);
  // The three buttons of a maximised MDI child in the menu line (hit codes
  // 101 close, 102 restore, 103 minimise).
  static bool IsMdiChildButton(int code);
  void DrawMdiChildButton(int code);
  // Menu-line item redrawn after its selection changed, in window coordinates.
  void RedrawMenuItem(TMenuItem* item, const RECT& rect, TOwnerDrawState state);

  // The provider of a form window (SKM_QUERYPROVIDER), or none.
  static TsSkinProvider* Of(HWND form);

  // Seam for MDI support of an MDI frame form.
  void SetMDISupport(std::unique_ptr<TsMDISupport> support) { mdi_ = std::move(support); }
  // The MDI support of this MDI frame, or of the frame this MDI child is in.
  TsMDISupport* FrameSupport();

 private:
  friend class TsSystemMenu;
  static LRESULT CALLBACK HookProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);
  void HookWindow();
  void UnhookWindow();
  LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam);
  LRESULT CallPrevious(UINT msg, WPARAM wParam, LPARAM lParam);
  LRESULT ActiveWindowProc(UINT msg, WPARAM wParam, LPARAM lParam);
  void ReadIndexes();
  void ApplySkin();
  void DropSkin();
  void RepaintAll();
  void RepaintFrame();
  void CaptionCheck(String& saved);
  bool HasBorder() const;
  bool Iconic() const;
  bool Maximized() const;
  TMainMenu* MainMenu() const;
  bool HasMenuLine() const;
  TitleButtonSet ButtonSet() const;
  void MinimizeForm();
  void MenuRemeasure();
  void NcButtonDown(int code, LPARAM lParam);
  void NcButtonUp(int code, UINT msg, WPARAM wParam, LPARAM lParam);
  void RefreshSystemMenu();
  void ChangeButton(int code, int state);
  void SetButtonState(int code, int state);
  TitleButtonRecord* RecordOf(int code);
  MaskImage MaskOf(int index) const;
  void CutFromMask(int width);
  void PaintTitleAndButtons(const FrameMetrics& m, int targetWidth, bool iconic);
  void PaintTitle(const FrameMetrics& m, int targetWidth, bool iconic);
  void PaintIcon(const FrameMetrics& m);
  void LayoutButtons(const FrameMetrics& m);
  void DrawButtonFace(int code, const FrameMetrics& m);
  void DrawUserGlyph(int i, const FrameMetrics& m);
  void PaintMenuLine(const FrameMetrics& m);
  void PaintCaption(const FrameMetrics& m, bool iconic);
  void CopyFrameToWindow(const FrameMetrics& m);

  TCustomForm* form_ = nullptr;
  HWND window_ = nullptr;
  WNDPROC previous_ = nullptr;
  TsCommonData skinState_;
  String captionForCursor_, captionForText_;
  TFormBorderStyle savedBorderStyle_ = bsSizeable;
  TBorderIcons savedBorderIcons_ = 0;
  bool savedAutoScroll_ = false;
  TitleButtonRecord buttons_[7];  // min, max, close, help, MDI child min, max, close
  int hotButton_ = 0;
  bool frameInvalid_ = true;
  bool regionInvalid_ = true;
  bool regionApplied_ = false;
  bool settingRegion_ = false;
  bool menuChanged_ = true;
  bool formActive_ = true;
  bool activatedOnce_ = false;
  bool painting_ = false;
  bool givingIconsBack_ = false;
  RegionCuts cutRects_{PixRect{}};
  std::unique_ptr<TBitmap> titleCache_;
  TBitmap buttonBackground_;
  TBitmap menuLineBitmap_;
  int menuLineCount_ = 0;
  TsSkinManager* manager_ = nullptr;
  TsSystemMenu* systemMenu_ = nullptr;  // owned as a component
  int windowCreatedId_ = 0;
  TitleButtonRecord userRecord_;  // a user button seen through RecordOf
  std::vector<std::pair<TMenuItem*, RECT>> menuItemRects_;
  std::unique_ptr<TsMDISupport> mdi_;
  std::unique_ptr<TsFormScrolling> scrolling_;
  UINT taskbarCreated_ = 0;
  int fullCompositions_ = 0, fastCompositions_ = 0;

  TBorderIcons borderIcons_ = biSystemMenu | biMinimize | biMaximize;
  TAlignment captionAlignment_ = taLeftJustify;
  TsGripMode gripMode_ = gmNone;
  bool makeSkinMenu_ = true;
  bool showAppIcon_ = true;
  TsTitleButtons titleButtons_{this};
  TsTitleIcon titleIcon_;
  TsTitleBarAccessible titleBarAccessible_{*this};
};

}  // namespace kestu
