// The error box: one at a time while handlers keep failing behind it (the
// next box counts what was not shown), and errors inside a modal loop handled
// as in the main loop without ending the modal window.
#include <gtest/gtest.h>

#include "framework/Forms.h"
#include "framework/StdCtrls.h"

namespace kestu {
namespace {

void Pump(int ms) {
  const DWORD end = GetTickCount() + DWORD(ms);
  while (GetTickCount() < end) {
    Application->ProcessMessages();
    Sleep(2);
  }
}

// Records the boxes instead of showing them; while "showing" one it runs the
// message loop, as a real box does.
class ErrorBoxes : public ::testing::Test {
 protected:
  void SetUp() override {
    Application->SetOnException(nullptr);
    Application->SetMessageBoxHook([this](HWND, const String& text, const String&, UINT) {
      texts.push_back(text);
      ++depth;
      maxDepth = std::max(maxDepth, depth);
      if (whileShown) whileShown();
      --depth;
      return IDOK;
    });
    form = new TForm(Application);
    form->SetBounds(100, 100, 200, 150);
  }
  void TearDown() override {
    delete form;
    Application->SetMessageBoxHook(nullptr);
  }
  std::vector<String> texts;
  std::function<void()> whileShown;
  int depth = 0, maxDepth = 0;
  TForm* form = nullptr;
};

TEST_F(ErrorBoxes, AHandlerFailingOnEveryPaintGetsOneBoxAndTheNextCountsTheRest) {
  int paints = 0;
  form->SetOnPaint([&](TObject*) {
    ++paints;
    throw Exception(L"paint failed");
  });
  whileShown = [&] {
    for (int i = 0; i < 3; ++i) {
      InvalidateRect(form->Handle(), nullptr, TRUE);
      Pump(20);
    }
  };
  form->Show();
  Pump(50);
  EXPECT_GE(paints, 4);
  EXPECT_EQ(maxDepth, 1);
  ASSERT_GE(texts.size(), 1u);
  EXPECT_EQ(texts[0], L"paint failed.");
  // The next error's box says how many were not shown before it.
  whileShown = nullptr;
  form->SetOnPaint(nullptr);
  const std::size_t shown = texts.size();
  Application->HandleException(std::make_exception_ptr(Exception(L"another")));
  ASSERT_EQ(texts.size(), shown + 1);
  EXPECT_EQ(texts.back().rfind(L"another.\n\n(", 0), 0u) << StringToUtf8(texts.back());
  EXPECT_NE(texts.back().find(L"more errors were not shown"), String::npos);
  Application->HandleException(std::make_exception_ptr(Exception(L"last")));
  EXPECT_EQ(texts.back(), L"last.");
}

TEST_F(ErrorBoxes, ATimerFailingOnEveryTickOpensNoBoxInsideTheBox) {
  auto* timer = new TTimer(form);
  timer->SetInterval(10);
  int ticks = 0;
  timer->SetOnTimer([&](TObject*) {
    ++ticks;
    throw Exception(L"tick failed");
  });
  // The first box stays up while the timer fails on several more ticks.
  whileShown = [&] {
    for (int i = 0; i < 200 && ticks < 4; ++i) Pump(10);
    timer->SetEnabled(false);
  };
  for (int i = 0; i < 200 && texts.empty(); ++i) Pump(10);
  EXPECT_GE(ticks, 4);
  EXPECT_EQ(maxDepth, 1);
  EXPECT_EQ(texts.size(), 1u);
  whileShown = nullptr;
  Application->HandleException(std::make_exception_ptr(Exception(L"after")));
  EXPECT_NE(texts.back().find(L"more errors were not shown"), String::npos);
}

TEST_F(ErrorBoxes, AnErrorInsideAModalLoopIsShownAndTheWindowStaysModal) {
  const UINT kFail = WM_APP + 7;
  const int hook = Application->AddMessageHook([&](MSG& msg) {
    if (msg.message == kFail) throw Exception(L"hook failed");
    return false;
  });
  int closeQueries = 0;
  form->SetOnCloseQuery([&](TObject*, bool&) {
    if (++closeQueries == 1) throw Exception(L"not yet");
  });
  auto* timer = new TTimer(form);
  timer->SetInterval(20);
  int step = 0;
  timer->SetOnTimer([&](TObject*) {
    switch (step++) {
      case 0: PostMessageW(form->Handle(), kFail, 0, 0); break;
      case 2: form->SetModalResult(mrOk); break;  // the close query fails: the window stays
      case 4: form->SetModalResult(mrOk); break;
      default: break;
    }
  });
  form->HandleNeeded();
  const TModalResult result = form->ShowModal();
  timer->SetEnabled(false);
  Application->RemoveMessageHook(hook);
  EXPECT_EQ(result, mrOk);
  EXPECT_EQ(closeQueries, 2);
  EXPECT_EQ(texts, (std::vector<String>{L"hook failed.", L"not yet."}));
  EXPECT_FALSE(form->Visible());
}

}  // namespace
}  // namespace kestu
