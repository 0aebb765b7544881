#pragma once
// The themed form frame: a panel on a form that takes the form's native
// caption and frame away, fills the client area less a border with itself,
// carries the themed title bar and an optional menu bar, paints the border
// onto the form, cuts the form to a region with rounded top corners, and
// answers the resize hit-tests at the form's edges.

#include "framework/ComCtrls.h"
#include "themekit/SUIMainMenu.h"
#include "themekit/SUITitleBar.h"

namespace kestu {

inline constexpr wchar_t kOneFrameError[] = L"Sorry, You can create only one TsuiForm component in one form!";
inline constexpr wchar_t kFormPanelError[] = L"Sorry, you can't select the Form assign to FormPanel property";

// Panel bounds on a host with client size CW x CH: (Left, Top, Width, Height).
RECT FramePanelBounds(int CW, int CH, int BW, bool titleBarVisible, bool mdiChild);
// The resize answer at host client point (x, y), or 0 for "leave it".
int FrameEdgeHitTest(int x, int y, int CW, int CH);

class TsuiForm : public TPanel, public TsuiTitleBarHost, public TsuiMenuHost {
  KESTU_CLASS(TsuiForm, TPanel)
 public:
  explicit TsuiForm(TComponent* AOwner);
  ~TsuiForm() override;

  TsuiUIStyle UIStyle() const { return uiStyle_; }
  void SetUIStyle(TsuiUIStyle v);
  TsuiFileTheme* FileTheme() const { return fileTheme_; }
  void SetFileTheme(TsuiFileTheme* v);
  bool UIStyleAutoUpdateSub() const { return autoUpdateSub_; }
  void SetUIStyleAutoUpdateSub(bool v) { autoUpdateSub_ = v; }
  TColor BorderColor() const { return borderColor_; }
  void SetBorderColor(TColor v);
  int BorderWidth() const { return borderWidth_; }
  void SetBorderWidth(int v);
  TColor Color() const { return TPanel::Color(); }
  void SetColor(TColor v);
  bool TitleBarVisible() const { return titleBar_->Visible(); }
  void SetTitleBarVisible(bool v);
  bool TitleBarCustom() const { return titleBar_->Custom(); }
  void SetTitleBarCustom(bool v) { titleBar_->SetCustom(v); }
  const String& Caption() const { return titleBar_->Caption(); }
  void SetCaption(const String& v);
  TFont* Font() { return titleBar_->Font(); }
  TCollection* TitleBarButtons() { return titleBar_->Buttons(); }
  TCollection* TitleBarSections() { return titleBar_->Sections(); }
  bool TitleBarDrawAppIcon() const { return titleBar_->DrawAppIcon(); }
  void SetTitleBarDrawAppIcon(bool v) { titleBar_->SetDrawAppIcon(v); }
  int RoundCorner() const { return titleBar_->RoundCorner(); }
  void SetRoundCorner(int v);
  TMainMenu* Menu() const { return menu_; }
  void SetMenu(TMainMenu* v);
  TColor MenuBarColor() const { return menuBarColor_; }
  void SetMenuBarColor(TColor v);
  int MenuBarHeight() const { return menuBarHeight_; }
  void SetMenuBarHeight(int v);
  TWinControl* FormPanel() const { return formPanel_; }
  void SetFormPanel(TWinControl* v);
  // Width and Height read the panel's own size; writing sizes the host.
  int FrameWidth() const { return TPanel::Width(); }
  void SetFrameWidth(int v);
  int FrameHeight() const { return TPanel::Height(); }
  void SetFrameHeight(int v);
  String Version() const { return L"4.31"; }
  void SetVersion(const String&) {}
  void SetOnTitleBarCustomBtnsClick(TsuiTitleBarButtonClickEvent e) { titleBar_->SetOnCustomBtnsClick(std::move(e)); }
  void SetOnTitleBarHelpBtnClick(TsuiTitleBarButtonClickEvent e) { titleBar_->SetOnHelpBtnClick(std::move(e)); }

  TsuiTitleBar* TitleBar() const { return titleBar_; }
  TToolBar* MenuBar() const { return menuBar_; }
  TCustomForm* HostForm() const override { return host_; }
  bool HostWasSizeable() const override { return hostBorderStyle_ == bsSizeable; }

  void Layout();
  void PaintBorder();

  void MenuItemsChanged(bool rebuild) override;
  void MenuFontChanged() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void WndProc(TMessage& m) override;

 protected:
  void Paint() override;

 private:
  bool IsMdiChild() const;
  void HostWndProc(TMessage& m);
  void HostSize(TMessage& m);
  void HostHitTest(TMessage& m);
  bool MenuShortCut(WORD key, TShiftState shift);
  bool ApplicationHook(MSG& msg);
  void RebuildMenuBar();
  void ApplyMenuFont();
  void DrawMenuBarBackground(TToolBar* bar, const RECT& r);
  void DrawMenuButton(TToolBar* bar, TToolButton* button, TCustomDrawState state, bool& defaultDraw);
  TsuiUIStyle MenuStyle(const TsuiFileTheme*& theme) const;
  void WmEraseBkgnd(TMessage& m);

  TCustomForm* host_ = nullptr;
  TsuiTitleBar* titleBar_ = nullptr;
  TToolBar* menuBar_ = nullptr;
  TMainMenu* menu_ = nullptr;
  TWinControl* formPanel_ = nullptr;
  TsuiUIStyle uiStyle_ = TsuiUIStyle::DeepBlue;
  TsuiFileTheme* fileTheme_ = nullptr;
  bool autoUpdateSub_ = false;
  TColor borderColor_ = clBlack;
  int borderWidth_ = 0;
  TColor menuBarColor_ = clBtnFace;
  int menuBarHeight_ = 22;

  TFormBorderStyle hostBorderStyle_ = bsSizeable;
  RECT restoreRect_{};
  bool maximisedAtCreation_ = false;
  int hostFrameWidth_ = 0, hostFrameHeight_ = 0;
  TWndMethod previousHostProc_;
  int hookId_ = 0;
};

}  // namespace kestu
