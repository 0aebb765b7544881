#pragma once
// Themed dialogs: TsuiDialog is the base of the non-visual dialog
// components; TsuiMessageDialog shows a message with up to three buttons in
// a TfrmMsg window laid out to fit the text.

#include "framework/Forms.h"
#include "themekit/core/StyleTables.h"

namespace kestu {

class TsuiFileTheme;
class TfrmMsg;

enum TsuiIconType { suiNone, suiWarning, suiStop, suiInformation, suiHelpIcon };

class TsuiDialog : public TComponent {
  KESTU_CLASS(TsuiDialog, TComponent)
 public:
  explicit TsuiDialog(TComponent* AOwner);
  ~TsuiDialog() override;

  virtual int ShowModal() = 0;

  TsuiFileTheme* FileTheme() const { return fileTheme_; }
  void SetFileTheme(TsuiFileTheme* v);
  TPosition Position() const { return position_; }
  void SetPosition(TPosition v) { position_ = v; }
  const String& Caption() const { return caption_; }
  void SetCaption(const String& v) { caption_ = v; }
  TsuiUIStyle UIStyle() const { return uiStyle_; }
  void SetUIStyle(TsuiUIStyle v) { uiStyle_ = v; }
  TFont* Font() { return &font_; }
  void SetFont(TFont* v) { font_.Assign(v); }
  TFont* CaptionFont() { return &captionFont_; }
  void SetCaptionFont(TFont* v) { captionFont_.Assign(v); }
  TCursor ButtonCursor() const { return buttonCursor_; }
  void SetButtonCursor(TCursor v) { buttonCursor_ = TCursor(std::int16_t(v)); }

  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  TsuiFileTheme* fileTheme_ = nullptr;
  TPosition position_ = poScreenCenter;
  String caption_ = L"suiDialog";
  TsuiUIStyle uiStyle_ = TsuiUIStyle::DeepBlue;
  TFont font_;
  TFont captionFont_;
  TCursor buttonCursor_ = crHandPoint;
};

class TsuiMessageDialog : public TsuiDialog {
  KESTU_CLASS(TsuiMessageDialog, TsuiDialog)
 public:
  explicit TsuiMessageDialog(TComponent* AOwner);

  int ButtonCount() const { return buttonCount_; }
  // 1..3; other values are brought into that range.
  void SetButtonCount(int v);
  const String& Button1Caption() const { return captions_[0]; }
  void SetButton1Caption(const String& v) { captions_[0] = v; }
  const String& Button2Caption() const { return captions_[1]; }
  void SetButton2Caption(const String& v) { captions_[1] = v; }
  const String& Button3Caption() const { return captions_[2]; }
  void SetButton3Caption(const String& v) { captions_[2] = v; }
  TModalResult Button1ModalResult() const { return results_[0]; }
  void SetButton1ModalResult(TModalResult v) { results_[0] = v; }
  TModalResult Button2ModalResult() const { return results_[1]; }
  void SetButton2ModalResult(TModalResult v) { results_[1] = v; }
  TModalResult Button3ModalResult() const { return results_[2]; }
  void SetButton3ModalResult(TModalResult v) { results_[2] = v; }
  TsuiIconType IconType() const { return iconType_; }
  void SetIconType(TsuiIconType v) { iconType_ = v; }
  const String& Text() const { return text_; }
  void SetText(const String& v) { text_ = v; }

  int ShowModal() override;
  // Steps 1 to 11 of ShowModal: the window built and laid out, not shown.
  // The caller owns it. Tests look at it before showing.
  TfrmMsg* BuildWindow();
  // The hook lets tests see the window once it is shown.
  void SetOnShowWindow(std::function<void(TfrmMsg*)> hook) { onShowWindow_ = std::move(hook); }

 private:
  int buttonCount_ = 1;
  String captions_[3] = {L"OK", L"Cancel", L"Cancel"};
  TModalResult results_[3] = {mrOk, mrCancel, mrCancel};
  TsuiIconType iconType_ = suiNone;
  String text_ = L"Hello world!";
  std::function<void(TfrmMsg*)> onShowWindow_;
};

}  // namespace kestu
