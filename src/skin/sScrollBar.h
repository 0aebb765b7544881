#pragma once
// TsScrollBar: a scroll bar drawn from the skin (two buttons, two track
// halves and the slider, each with normal, hot and pressed looks) with the
// usual range model, mouse, keyboard and scroll-message handling, repeating
// while a part is held and dragging the slider. Without a skin the native
// scroll bar underneath paints and handles the mouse itself.

#include "framework/Accessibility.h"
#include "framework/Controls.h"
#include "framework/StdCtrls.h"
#include "skin/SkinGdi.h"
#include "skin/core/ScrollBarGeometry.h"
#include "skin/sCommonData.h"

#include <functional>
#include <memory>

namespace kestu {

class TsScrollBar;
using TsScrollChangeEvent = std::function<void(TsScrollBar* Sender, int PreviousPosition)>;

// Where "Scrollbar property out of range" goes; a message box by default.
extern std::function<void(const String& text)> ScrollRangeReport;

class TsScrollBar : public TWinControl, public TAccessibleDescription {
  KESTU_CLASS(TsScrollBar, TWinControl)
 public:
  explicit TsScrollBar(TComponent* AOwner);
  ~TsScrollBar() override;

  TScrollBarKind Kind() const { return kind_; }
  void SetKind(TScrollBarKind value);
  int Min() const { return model_.Min; }
  void SetMin(int value);
  int Max() const { return model_.Max; }
  void SetMax(int value);
  int Position() const { return model_.Position; }
  void SetPosition(int value);
  int PageSize() const { return model_.PageSize; }
  void SetPageSize(int value);
  int SmallChange() const { return smallChange_; }
  void SetSmallChange(int value) { smallChange_ = value; }
  int LargeChange() const { return largeChange_; }
  void SetLargeChange(int value) { largeChange_ = value; }
  bool Smooth() const { return smooth_; }
  void SetSmooth(bool value) { smooth_ = value; }
  TsDisabledKind DisabledKind() const { return disabledKind_; }
  void SetDisabledKind(TsDisabledKind value);
  void SetOnChange(TsScrollChangeEvent e) { onChange_ = std::move(e); }
  void SetOnScroll(TScrollEvent e) { onScroll_ = std::move(e); }
  void SetParams(int position, int min, int max);

  TsCommonData* SkinData() { return skinData_.get(); }
  // A skin is loaded: the bar paints and handles the mouse itself.
  bool Skinned() const;
  int PartState(TsScrollPart part) const { return parts_[part]; }
  // While set, position changes paint only once the change ends.
  bool MouseScrolling = false;
  // The image the last paint copied to the window.
  PixelRows Image() { return image_.Rows(); }
  ScrollBarGeometry Geometry() const;

  // What the repeat timer does; it fires every 100 ms while not rtNone.
  enum RepeatKind { rtNone, rtButton, rtTrack, rtDrag };
  RepeatKind Repeating() const { return repeating_; }
  // One tick of the repeat timer, run by the timer (and by tests).
  void RepeatTick();

  bool CanFocus() override;
  void WndProc(TMessage& message) override;
  void DefaultHandler(TMessage& message) override;
  void Loaded() override;
  // As screen readers see it (ScrollBarAccessible.cpp).
  TAccessibleElement AccessibleSelf() override;
  std::vector<TAccessibleElement> AccessibleParts() override;
  void AccessibleDefaultAction(int child) override;

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateHandleDone() override;
  bool WantsKey(WORD key) override;

 private:
  int TrackSection() const;
  int Along(int x, int y) const { return kind_ == sbHorizontal ? x : y; }
  int Direction() const { return kind_ == sbHorizontal && BiDiMode() == bdRightToLeft ? -1 : 1; }
  void SetPartState(TsScrollPart part, int state);
  void RaiseChange(int previous);
  void EndScrollStep();
  void StartRepeat(RepeatKind kind);
  void StopRepeat();
  void MirrorToNative();

  void LeftDown(int x, int y);
  void LeftUp(int x, int y);
  void Hover(int x, int y);
  void MouseEntered();
  void MouseLeft();
  void KeyDown(WORD key);
  void Scroll(int code);
  void PaintSkinned(HDC dc);
  void Compose();
  void ComposeTrack(PixelRows cache, const ScrollBarGeometry& g, bool before);
  void ComposeButton(PixelRows image, const ScrollBarGeometry& g, bool first);
  void ComposeSlider(PixelRows image, const ScrollBarGeometry& g);

  std::unique_ptr<TsCommonData> skinData_;
  TScrollBarKind kind_ = sbHorizontal;
  ScrollModel model_;
  int smallChange_ = 1, largeChange_ = 1;
  bool smooth_ = true;
  TsDisabledKind disabledKind_ = dkBlended;
  TsScrollChangeEvent onChange_;
  TScrollEvent onScroll_;

  int parts_[spCount] = {};
  bool needsRepaint_ = false;
  int dragOffset_ = 0;
  bool changePending_ = false;
  int dragStart_ = 0;
  PixPoint lastMouse_{};
  RepeatKind repeating_ = rtNone;
  TTimer* timer_ = nullptr;
  PixelBuffer image_;
};

}  // namespace kestu
