#pragma once
// The common base of skinned buttons: painting from the skin (or from the
// style's own settings) into the style's cached background, the window
// region cut from border masks, caption layout, mouse handling and the fade
// between the normal and the hot look.

#include "framework/Controls.h"
#include "framework/StdCtrls.h"
#include "skin/SkinGdi.h"
#include "skin/SkinResources.h"
#include "skin/sStyleActive.h"

#include <memory>

namespace kestu {

class TsButtonControl;

// Drives the fade of one button; its work is done in Tick.
class TFadeTimer : public TTimer {
  KESTU_CLASS(TFadeTimer, TTimer)
 public:
  explicit TFadeTimer(TComponent* AOwner);
  TsButtonControl* Button = nullptr;
  int Direction = 0;  // 0 stopped, 1 fading in, 2 fading out
  void Tick();
};

// Rectangle of the caption for a button without glyph (layout 0), before
// the final (left - 1, top, right + 2, bottom) widening.
struct CaptionLayout {
  PixRect rect;
  int d = 0;
};
CaptionLayout LayoutCaption(int W, int H, int TW, int TH, int margin, int alignment);

class TsButtonControl : public TCustomControl, public TsStyledButton {
  KESTU_CLASS(TsButtonControl, TCustomControl)
 public:
  explicit TsButtonControl(TComponent* AOwner);
  ~TsButtonControl() override;

  bool AutoSize() const { return autoSize_; }
  void SetAutoSize(bool value);
  int BevelWidth() const { return bevelWidth_; }
  void SetBevelWidth(int value);
  TsDisabledKind DisabledKind() const { return disabledKind_; }
  void SetDisabledKind(TsDisabledKind value);
  TsActiveBGStyle* sStyle() { return style_.get(); }
  int Margin() const { return margin_; }
  void SetMargin(int value);
  bool ShowCaption() const { return showCaption_; }
  void SetShowCaption(bool value);
  bool Down() const { return down_; }
  void SetDown(bool value);
  int Alignment() const { return alignment_; }
  int Layout() const { return layout_; }
  int FadeStep() const { return fadeStep_; }
  TFadeTimer* FadeTimer() { return fadeTimer_; }
  bool RegionChanged() const { return regionChanged_; }

  // 2 down, 1 active, 0 normal.
  int StateIndex();
  // The fade parameters, from the section while skinned.
  struct FadeParams {
    bool Enabled;
    int IntervalIn, IntervalOut, Iterations;
  };
  FadeParams Fade();

  bool ButtonDown() const override { return down_; }
  bool ActiveDefaultButton() const override { return false; }
  int ButtonBevelWidth() const override { return bevelWidth_; }
  bool Fading() const override;
  void StartFade(bool fadeIn) override;
  void FadeFrame();
  void StopFade();

  void WndProc(TMessage& message) override;
  void Loaded() override;

 protected:
  void Paint() override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
  virtual bool WantsFocusFrame();
  virtual int FocusFrameMargin() const { return 1; }
  void MarkChanged() { if (!SkinChanging) style_->BackgroundDirty = true; }
  // Recomposes the style's cache for the current state.
  void Compose();
  void SizeToContent();

 private:
  void ComposeBorders();
  void ComposeCaption();
  void DrawToWindow(PixelRows image);
  void SizeChanged(int width, int height);
  void ApplyRegion();

  std::unique_ptr<TsActiveBGStyle> style_;
  SkinGraphicsUse graphicsUse_;
  TsDisabledKind disabledKind_ = dkBlended;
  int alignment_ = 2;
  bool pressed_ = false;
  bool regionChanged_ = true;
  PixPoint regionSize_{-1, -1};  // the size the applied region was cut for
  GdiHandle<HRGN> pendingRegion_;
  bool showCaption_ = true;
  int spacing_ = 3;
  bool autoSize_ = false;
  int bevelWidth_ = 2;
  bool down_ = false;
  int layout_ = 0;
  int margin_ = 0;
  PixelBuffer previous_;
  int fadeStep_ = 0;
  TFadeTimer* fadeTimer_ = nullptr;
};

}  // namespace kestu
