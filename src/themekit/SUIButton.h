#pragma once
// The toolkit's push button: a custom-drawn windowed control whose face is a
// three-state image strip of its style stretched to its size, with a caption
// and an optional glyph over it. Clicking it hands its ModalResult to the
// form that holds it.

#include <memory>

#include "framework/Accessibility.h"
#include "framework/StdCtrls.h"
#include "themekit/core/StyleTables.h"

namespace kestu {

class TsuiFileTheme;

enum TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };

// Where the glyph and the caption go, from the sizes: TW x TH the text, GW x
// GH one glyph image; halvings truncate toward zero.
struct GlyphPlacement {
  POINT Glyph{0, 0};
  POINT Text{0, 0};
};
GlyphPlacement PlaceGlyph(TButtonLayout layout, int width, int height, int GW, int GH, int TW, int TH, int spacing);

class TsuiCustomButton : public TCustomControl {
  KESTU_CLASS(TsuiCustomButton, TCustomControl)
 public:
  explicit TsuiCustomButton(TComponent* AOwner);
  ~TsuiCustomButton() override;

  bool AutoSize() const { return autoSize_; }
  void SetAutoSize(bool v);
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool v);
  int MouseContinuouslyDownInterval() const { return repeatInterval_; }
  void SetMouseContinuouslyDownInterval(int v) { repeatInterval_ = v; }
  const TNotifyEvent& OnMouseContinuouslyDown() const { return onRepeat_; }
  void SetOnMouseContinuouslyDown(TNotifyEvent e) { onRepeat_ = std::move(e); }
  const TNotifyEvent& OnMouseExit() const { return onMouseExit_; }
  void SetOnMouseExit(TNotifyEvent e) { onMouseExit_ = std::move(e); }

  bool IsMouseOver() const { return mouseOver_; }
  bool IsPressed() const { return pressed_; }
  void Click() override;
  void WndProc(TMessage& m) override;

 protected:
  virtual void AutoSizeToStyle();
  virtual void CaptionChanged() {}
  void FontChanged() override;
  virtual void TransparentChanged() { Invalidate(); }
  virtual void EnabledChanged() {}
  virtual void UIStyleChanged() {}
  virtual void DrawFace(TCanvas* canvas, TBitmap* image);
  virtual void DrawCaption(TCanvas* canvas, const String& caption);
  virtual void DrawFocus(TCanvas* canvas);
  // Hands the button's modal result to its form when clicked.
  virtual void HandModalResult() {}
  virtual void GetNormalImage(TBitmap*) {}
  virtual void GetMouseOnImage(TBitmap*) {}
  virtual void GetMouseDownImage(TBitmap*) {}
  virtual void GetDisabledImage(TBitmap*) {}

  void Paint() override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseMove(TShiftState shift, int x, int y) override;

  bool boldCaption_ = false;
  bool mouseOver_ = false;
  bool pressed_ = false;

 private:
  void StopRepeat();
  void WmEraseBkgnd(TMessage& m) { m.Result = 1; }
  void WmKeyDown(TMessage& m);
  void WmKeyUp(TMessage& m);
  void WmFocus(TMessage& m);
  void CmMouseEnter(TMessage& m);
  void CmMouseLeave(TMessage& m);
  void CmEnabledChanged(TMessage& m);
  void CmTextChanged(TMessage& m);
  void CmDialogChar(TMessage& m);
  void CmFocusChanged(TMessage& m);

  bool autoSize_ = false;
  bool transparent_ = false;
  int repeatInterval_ = 100;
  std::unique_ptr<TTimer> repeatTimer_;
  TNotifyEvent onRepeat_, onMouseExit_;
};

class TsuiButton : public TsuiCustomButton, public TAccessibleDescription {
  KESTU_CLASS(TsuiButton, TsuiCustomButton)
 public:
  explicit TsuiButton(TComponent* AOwner);
  ~TsuiButton() override;

  TsuiUIStyle UIStyle() const { return uiStyle_; }
  void SetUIStyle(TsuiUIStyle v);
  TsuiFileTheme* FileTheme() const { return fileTheme_; }
  void SetFileTheme(TsuiFileTheme* v);
  bool Cancel() const { return cancel_; }
  void SetCancel(bool v) { cancel_ = v; }
  bool Default() const { return default_; }
  void SetDefault(bool v);
  TModalResult ModalResult() const { return modalResult_; }
  void SetModalResult(TModalResult v) { modalResult_ = v; }
  int FocusedRectMargin() const { return focusedRectMargin_; }
  void SetFocusedRectMargin(int v);
  TBitmap* Glyph() { return &glyph_; }
  void SetGlyph(TBitmap* v);
  TButtonLayout Layout() const { return layout_; }
  void SetLayout(TButtonLayout v);
  int Spacing() const { return spacing_; }
  void SetSpacing(int v);
  std::uint32_t ResHandle() const { return 0; }
  void SetResHandle(std::uint32_t) {}

  void Notification(TComponent* AComponent, TOperation Operation) override;
  void WndProc(TMessage& m) override;
  TAccessibleElement AccessibleSelf() override;
  void AccessibleDefaultAction(int) override { Click(); }

 protected:
  void AutoSizeToStyle() override;
  void HandModalResult() override;
  void UIStyleChanged() override;
  void ActionChange(TBasicAction* sender, bool checkDefaults) override;
  void DrawFace(TCanvas* canvas, TBitmap* image) override;
  void DrawCaption(TCanvas* canvas, const String& caption) override;
  void DrawFocus(TCanvas* canvas) override;
  void GetNormalImage(TBitmap* b) override { StateImage(b, 1); }
  void GetMouseOnImage(TBitmap* b) override { StateImage(b, 2); }
  void GetMouseDownImage(TBitmap* b) override { StateImage(b, 3); }
  void GetDisabledImage(TBitmap* b) override { StateImage(b, 1); }

 private:
  void StateImage(TBitmap* b, int which);
  void DrawGlyph(TCanvas* canvas);
  void CmDialogKey(TMessage& m);

  TsuiUIStyle uiStyle_ = TsuiUIStyle::DeepBlue;
  TsuiFileTheme* fileTheme_ = nullptr;
  bool cancel_ = false;
  bool default_ = false;
  TModalResult modalResult_ = mrNone;
  int focusedRectMargin_ = 2;
  TBitmap glyph_;
  TButtonLayout layout_ = blGlyphLeft;
  int spacing_ = 4;
  POINT textPos_{0, 0};
};

}  // namespace kestu
