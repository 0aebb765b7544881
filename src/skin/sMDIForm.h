#pragma once
// TsMDIForm: the skinned MDI frame's client window taken over. It paints the
// client background and its two-pixel edge from the frame's composed
// bitmap, puts skinned scroll bars (and a grip between them) over the client
// window's own, and keeps the window-control menu "sMDICII" at the front of
// the main menu while the active child is maximised.

#include "framework/Forms.h"
#include "framework/Menus.h"
#include "skin/sSkinProvider.h"

namespace kestu {

class TsScrollBar;
class TsGrip;

// The client area of an MDI frame in frame-bitmap coordinates.
struct MDIClientArea {
  int Left = 0, Top = 0, Width = 0, Height = 0;
};

class TsMDIForm : public TPersistent, public TsMDISupport {
  KESTU_CLASS(TsMDIForm, TPersistent)
 public:
  TsMDIForm(TsSkinProvider* provider, TCustomForm* form);
  ~TsMDIForm() override;

  void Refresh() override;
  void RefreshFrame() override;
  bool ChildMaximized() override;

  MDIClientArea ClientArea();
  TMenuItem* WindowControlItem() const { return controlItem_; }
  TsScrollBar* VertBar() const { return vert_; }
  TsScrollBar* HorzBar() const { return horz_; }
  TsGrip* Grip() const { return grip_; }
  void UpdateScrollBars();

 private:
  static LRESULT CALLBACK ClientProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);
  LRESULT HandleClient(UINT msg, WPARAM wParam, LPARAM lParam);
  LRESULT CallPrevious(UINT msg, WPARAM wParam, LPARAM lParam);
  bool Skinned();
  void EraseClient(HDC dc);
  void PaintEdge();
  void BuildControlItem();
  void UpdateControlItem();
  void CommandActiveChild(WPARAM command);
  void UpdateBar(TsScrollBar*& bar, bool vertical);
  void FreeBars();
  int AlignedSize(TAlign align);

  TsSkinProvider* provider_;
  TCustomForm* form_;
  HWND client_ = nullptr;
  WNDPROC previous_ = nullptr;
  TsScrollBar* vert_ = nullptr;
  TsScrollBar* horz_ = nullptr;
  TsGrip* grip_ = nullptr;
  TMenuItem* controlItem_ = nullptr;
  int vertMin_ = 0, horzMin_ = 0;
  bool busy_ = false;
};

}  // namespace kestu
