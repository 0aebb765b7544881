#pragma once
// The skin test form as the Windows tests make it.
#include <gtest/gtest.h>

#include "SkinTestForm.h"

namespace kestu {

// The stored test form, made with the skin engine's classes registered. An
// error inside a window procedure fails the running test instead of opening
// a box.
inline TSkinTestForm* CreateSkinTestForm() {
  EnsureSkinClasses();
  Application->SetOnException([](TObject*, const Exception& e) { ADD_FAILURE() << StringToUtf8(e.Message()); });
  return CreateFormFromResource<TSkinTestForm>(Application);
}

}  // namespace kestu
