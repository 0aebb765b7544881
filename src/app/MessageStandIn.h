#pragma once
// Stand-in for the themed message dialog until the toolkit provides it: the
// same interface (Caption, Text, Button1Caption, ShowModal returning the modal
// result), shown as a plain modal dialog with one button.

#include <windows.h>

#include "framework/Classes.h"

namespace kestu::app {

class TMessageStandIn : public TComponent {
  KESTU_CLASS(TMessageStandIn, TComponent)
 public:
  using TComponent::TComponent;

  const String& Caption() const { return caption_; }
  void SetCaption(const String& value) { caption_ = value; }
  const String& Text() const { return text_; }
  void SetText(const String& value) { text_ = value; }
  const String& Button1Caption() const { return button1Caption_; }
  void SetButton1Caption(const String& value) { button1Caption_ = value; }

  // Shows the dialog centred on the screen, owned by the active window;
  // returns 1 when the button is pressed, 2 when the dialog is closed any
  // other way.
  int ShowModal() const;

 private:
  String caption_;
  String text_;
  String button1Caption_;
};

}  // namespace kestu::app
