#pragma once
// Stand-in for the themed message dialog until the toolkit provides it: the
// same interface (Caption, Text, Button1Caption, ShowModal returning the modal
// result), shown as a plain modal dialog with one button.

#include <windows.h>

#include <string>

namespace kestu::app {

class TMessageStandIn {
 public:
  const std::wstring& Caption() const { return caption_; }
  void SetCaption(const std::wstring& value) { caption_ = value; }
  const std::wstring& Text() const { return text_; }
  void SetText(const std::wstring& value) { text_ = value; }
  const std::wstring& Button1Caption() const { return button1Caption_; }
  void SetButton1Caption(const std::wstring& value) { button1Caption_ = value; }

  // Shows the dialog centred on the screen, owned by `owner`; returns 1 when
  // the button is pressed, 2 when the dialog is closed any other way.
  int ShowModal(HWND owner) const;

 private:
  std::wstring caption_;
  std::wstring text_;
  std::wstring button1Caption_;
};

}  // namespace kestu::app
