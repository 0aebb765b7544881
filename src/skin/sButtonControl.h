#pragma once
// The common base of skinned buttons: painting from the skin (or from the
// style's own settings) into the style's cached background, the window
// region cut from border masks, caption layout, mouse handling and the fade
// between the normal and the hot look.

#include "framework/ControlActionLink.h"
#include "framework/Controls.h"
#include "framework/ImgList.h"
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

// Besides the control's caption, enabled state, hint and visibility, the
// image index and the checked state (as Down) follow the action.
class TsButtonActionLink : public TControlActionLink {
 public:
  explicit TsButtonActionLink(TsButtonControl* button);
  bool IsImageIndexLinked() const override;
  void SetImageIndex(int v) override;
  bool IsCheckedLinked() const override;
  void SetChecked(bool v) override;

 private:
  TsButtonControl* button_;
};

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
  void SetAlignment(int value);
  int Layout() const { return layout_; }
  void SetLayout(int value);
  int Spacing() const { return spacing_; }
  void SetSpacing(int value);
  TImageList* Images() const { return images_; }
  void SetImages(TImageList* value);
  // Glyphs of a disabled button; without them the normal glyph gets the
  // disabled look.
  TImageList* DisabledImages() const { return disabledImages_; }
  void SetDisabledImages(TImageList* value);
  int ImageIndex() const { return imageIndex_; }
  void SetImageIndex(int value);
  bool Grayed() const { return grayed_; }
  void SetGrayed(bool value);
  int Blend() const { return blend_; }
  void SetBlend(int value);
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
  void Notification(TComponent* AComponent, TOperation Operation) override;

 protected:
  void Paint() override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
  virtual bool WantsFocusFrame();
  virtual int FocusFrameMargin() const { return 1; }
  void MarkChanged() { if (!SkinChanging) style_->BackgroundDirty = true; }
  std::unique_ptr<TControlActionLink> CreateActionLink() override;
  void ActionChange(TBasicAction* sender, bool checkDefaults) override;
  // Recomposes the style's cache for the current state.
  void Compose();
  void SizeToContent();

 private:
  void ComposeBorders();
  // Glyph and caption, placed together.
  void ComposeContent();
  void ComposeGlyph(TImageList* list, PixPoint at);
  // The list the glyph comes from in the current state, or nullptr.
  TImageList* GlyphList() const;
  void SetImageList(TImageList*& field, int& changeId, TImageList* value);
  void DrawToWindow(PixelRows image);
  void SizeChanged(int width, int height);
  void ApplyRegion();

  std::unique_ptr<TsActiveBGStyle> style_;
  SkinGraphicsUse graphicsUse_;
  TImageList* images_ = nullptr;
  int imagesChangeId_ = 0;
  TImageList* disabledImages_ = nullptr;
  int disabledImagesChangeId_ = 0;
  TsDisabledKind disabledKind_ = dkBlended;
  int alignment_ = 2;
  bool pressed_ = false;
  bool regionChanged_ = true;
  PixPoint regionSize_{-1, -1};  // the size the applied region was cut for
  GdiHandle<HRGN> pendingRegion_;
  bool showCaption_ = true;
  int spacing_ = 3;
  int imageIndex_ = -1;
  bool autoSize_ = false;
  bool grayed_ = false;
  int blend_ = 0;
  int bevelWidth_ = 2;
  bool down_ = false;
  int layout_ = 0;
  int margin_ = 0;
  PixelBuffer previous_;
  int fadeStep_ = 0;
  TFadeTimer* fadeTimer_ = nullptr;
};

}  // namespace kestu
