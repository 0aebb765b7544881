#pragma once
// The link between a control and its action: caption, enabled state, hint
// and visibility follow the action where the control still shows the
// action's value.

#include "framework/ActnList.h"
#include "framework/Controls.h"

namespace kestu {

class TControlActionLink : public TActionLink {
 public:
  explicit TControlActionLink(TControl* client) : client_(client) {}

  bool IsCaptionLinked() const override;
  void SetCaption(const String& v) override;
  bool IsEnabledLinked() const override;
  void SetEnabled(bool v) override;
  bool IsHintLinked() const override;
  void SetHint(const String& v) override;
  bool IsVisibleLinked() const override;
  void SetVisible(bool v) override;

 protected:
  TControl* Client() const { return client_; }

 private:
  TControl* client_;
};

}  // namespace kestu
