#pragma once
// What screen readers learn about the title bar a skin provider draws into
// its form's non-client area, where the system sees no buttons: a title bar
// named by the caption whose parts are the drawn title buttons, left to
// right, each pressed as a click on it does.

#include "framework/Accessibility.h"

namespace kestu {

class TsSkinProvider;

class TsTitleBarAccessible : public TAccessibleDescription {
 public:
  explicit TsTitleBarAccessible(TsSkinProvider& provider) : provider_(provider) {}

  TAccessibleElement AccessibleSelf() override;
  std::vector<TAccessibleElement> AccessibleParts() override;
  void AccessibleDefaultAction(int child) override;

 private:
  struct Button {
    int HitCode;
    String Name;
    RECT Rect;  // window coordinates
    int State;  // 0 normal, 1 hot, 2 pressed
    bool Enabled;
  };
  // The buttons the last composition drew, from left to right.
  std::vector<Button> DrawnButtons();

  TsSkinProvider& provider_;
};

}  // namespace kestu
