#pragma once
// Skinned panels: TsTransparentPanel (no background of its own, caption by
// the engine's text writer), TsCustomPanel (background, borders and bevels
// from its skin section through a passive-background style) and TsGrip, the
// size grip in a form's bottom-right corner that shows the form's own corner
// and hands presses to the form.

#include "framework/Accessibility.h"
#include "framework/Controls.h"
#include "framework/StdCtrls.h"
#include "skin/SkinGdi.h"
#include "skin/sStyleSimply.h"

#include <functional>
#include <memory>

namespace kestu {

class TsTransparentPanel;
using TsPanelPaintEvent = std::function<void(TsTransparentPanel* Sender, TCanvas* Canvas)>;

// Screen readers see a grouping named by the caption holding the child
// windows.
class TsTransparentPanel : public TCustomControl, public TAccessibleDescription {
  KESTU_CLASS(TsTransparentPanel, TCustomControl)
 public:
  explicit TsTransparentPanel(TComponent* AOwner);

  int BevelWidth() const { return bevelWidth_; }
  void SetBevelWidth(int value);
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment value);
  bool FullRepaint() const { return fullRepaint_; }
  void SetFullRepaint(bool value) { fullRepaint_ = value; }
  bool Locked() const { return locked_; }
  void SetLocked(bool value) { locked_ = value; }
  void SetOnPaint(TsPanelPaintEvent e) { onPaint_ = std::move(e); }

  // How far the content stands in from the panel's edges.
  virtual int ContentInset();
  void AdjustClientRect(RECT& rect) override;
  void WndProc(TMessage& message) override;
  TAccessibleElement AccessibleSelf() override;
  std::vector<TAccessibleElement> AccessibleParts() override;

 protected:
  void Paint() override;
  void DoPaintEvent(TCanvas* canvas) { if (onPaint_) onPaint_(this, canvas); }
  // Writes the caption, one line centred vertically in rect.
  void WriteCaption(TCanvas* canvas, PixRect rect);

 private:
  int bevelWidth_ = 2;
  TAlignment alignment_ = taCenter;
  bool fullRepaint_ = true;
  bool locked_ = false;
  TsPanelPaintEvent onPaint_;
};

class TsCustomPanel : public TsTransparentPanel {
  KESTU_CLASS(TsCustomPanel, TsTransparentPanel)
 public:
  explicit TsCustomPanel(TComponent* AOwner);
  ~TsCustomPanel() override;

  TsPassiveBGStyle* sStyle() { return style_.get(); }
  TsControlBevel BevelInner() const { return bevelInner_; }
  void SetBevelInner(TsControlBevel value);
  TsControlBevel BevelOuter() const { return bevelOuter_; }
  void SetBevelOuter(TsControlBevel value);
  bool Ctl3D() const { return ctl3D_; }
  void SetCtl3D(bool value) { ctl3D_ = value; }
  int BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(int value) { borderStyle_ = value; }

  int ContentInset() override;
  void Invalidate() override;
  void WndProc(TMessage& message) override;
  void Loaded() override;

 protected:
  void Paint() override;
  void MarkChanged() { if (style_ && !SkinChanging) style_->BackgroundDirty = true; }
  // Composes the style's cache: background, shadows of children, bevels, caption.
  void Compose();

 private:
  void ComposeSkinned(TBitmap* cache);
  void ComposeUnskinned(TBitmap* cache);
  void PaintPlain();

  std::unique_ptr<TsPassiveBGStyle> style_;
  TsControlBevel bevelInner_ = cbNone;
  TsControlBevel bevelOuter_ = cbRaisedSoft;
  bool ctl3D_ = true;
  int borderStyle_ = 0;
};

// The panel most forms use; its section is "TsPanel".
class TsPanel : public TsCustomPanel {
  KESTU_CLASS(TsPanel, TsCustomPanel)
 public:
  using TsCustomPanel::TsCustomPanel;
};

class TsGrip : public TsCustomPanel {
  KESTU_CLASS(TsGrip, TsCustomPanel)
 public:
  explicit TsGrip(TComponent* AOwner);

  bool CornerVisible = true;
  TWinControl* LinkedForm = nullptr;
  TAccessibleElement AccessibleSelf() override;

 protected:
  void Paint() override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;

 private:
  bool PaintFormCorner();
};

}  // namespace kestu
