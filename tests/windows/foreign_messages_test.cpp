// Messages whose parameters carry pointers or objects, sent from another
// thread or another process, or posted by anyone: the framework and the
// skin engine answer them as unhandled and nothing changes. The same
// messages from our own thread are still honoured.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "framework/Forms.h"
#include "skin/sCommonData.h"

#include "SkinTestFixture.h"

namespace kestu {
namespace {

// Runs send on another thread while this one serves what it sends.
template <class Send>
void FromAnotherThread(Send send) {
  std::atomic<bool> done = false;
  std::thread other([&] {
    send();
    done = true;
  });
  while (!done) {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    Sleep(1);
  }
  other.join();
}

const LPARAM kGarbage = LPARAM(0x41414141);

class ForeignMessages : public ::testing::Test {
 protected:
  void SetUp() override {
    form = CreateSkinTestForm();
    button = form->Button1;
    form->Show();
    Application->ProcessMessages();
    ASSERT_GE(button->sStyle()->SectionIndex, 0);
  }
  void TearDown() override {
    delete form;
    Application->SetOnException(nullptr);
  }
  TSkinTestForm* form = nullptr;
  TsButton* button = nullptr;
};

TEST_F(ForeignMessages, SkinQueriesWriteNothingForAnotherThreadButAnswerOurOwn) {
  StyleQueryReply canary{77, &canary};
  LRESULT styleAnswer = -1;
  CacheReply = {};
  FromAnotherThread([&] {
    styleAnswer = SendMessageW(button->Handle(), SKM_QUERYSTYLE, WPARAM(&canary), 0);
    SendMessageW(button->Handle(), SKM_QUERYCACHE, 0, 0);
  });
  EXPECT_EQ(styleAnswer, 0);
  EXPECT_EQ(canary.Kind, 77);
  EXPECT_EQ(canary.Style, &canary);
  EXPECT_FALSE(CacheReply.Valid);
  // Our own thread still gets the style and the cache.
  EXPECT_EQ(QueryStyleOf(button->Handle()).Style, button->sStyle());
  button->Repaint();
  SendMessageW(button->Handle(), SKM_QUERYCACHE, 0, 0);
  EXPECT_TRUE(CacheReply.Valid);
  CacheReply = {};
}

TEST_F(ForeignMessages, SkinAnnouncementsFromAnotherThreadLeaveTheSkinInPlace) {
  const int section = button->sStyle()->SectionIndex;
  FromAnotherThread([&] {
    for (UINT msg : {SKM_RESETLOOKUPS, SKM_DROPSKIN, SKM_BGDIRTY, SKM_APPLYSKIN, SKM_REPAINTALL}) {
      SendMessageW(button->Handle(), msg, 0, kGarbage);
      SendMessageW(form->Handle(), msg, 0, kGarbage);
    }
  });
  EXPECT_EQ(button->sStyle()->SectionIndex, section);
  SendMessageW(button->Handle(), SKM_RESETLOOKUPS, 0, 0);
  EXPECT_EQ(button->sStyle()->SectionIndex, -1);
}

TEST_F(ForeignMessages, AFocusChangeFromAnotherThreadIsNotTakenAsAControl) {
  button->SetDefault(true);
  auto* other = new TsButton(form);
  other->SetParent(form);
  ASSERT_TRUE(button->ActiveDefault());
  FromAnotherThread([&] {
    // A real button of ours: honoured, it would take the default look away.
    SendMessageW(button->Handle(), CM_FOCUSCHANGED, 0, LPARAM(other));
    SendMessageW(button->Handle(), CM_FOCUSCHANGED, 0, kGarbage);
  });
  EXPECT_TRUE(button->ActiveDefault());
  button->Perform(CM_FOCUSCHANGED, 0, LPARAM(other));
  EXPECT_FALSE(button->ActiveDefault());
}

TEST_F(ForeignMessages, SystemStructuresFromAnotherThreadAreNotFollowed) {
  form->Constraints()->SetMinWidth(222);
  MINMAXINFO limits{};
  limits.ptMinTrackSize = {7, 7};
  FromAnotherThread([&] {
    SendMessageW(form->Handle(), WM_GETMINMAXINFO, 0, LPARAM(&limits));
    // Read as pointers, these would fault.
    for (HWND window : {form->Handle(), button->Handle()})
      for (UINT msg : {WM_NOTIFY, WM_DRAWITEM, WM_MEASUREITEM, WM_WINDOWPOSCHANGING, WM_NCCALCSIZE})
        SendMessageW(window, msg, 0, kGarbage);
  });
  EXPECT_EQ(limits.ptMinTrackSize.x, 7);
  SendMessageW(form->Handle(), WM_GETMINMAXINFO, 0, LPARAM(&limits));
  EXPECT_EQ(limits.ptMinTrackSize.x, 222);
}

TEST_F(ForeignMessages, PostedCopiesAreDroppedWhoeverPostsThem) {
  StyleQueryReply canary{77, &canary};
  const int forms = Screen->FormCount();
  PostMessageW(button->Handle(), SKM_QUERYSTYLE, WPARAM(&canary), 0);
  PostMessageW(button->Handle(), CM_FOCUSCHANGED, 0, kGarbage);
  PostMessageW(button->Handle(), SKM_DROPSKIN, 0, 0);
  // A release nobody asked for frees nothing.
  PostMessageW(form->Handle(), CM_RELEASE, 0, 0);
  Application->ProcessMessages();
  EXPECT_EQ(canary.Kind, 77);
  EXPECT_GE(button->sStyle()->SectionIndex, 0);
  EXPECT_EQ(Screen->FormCount(), forms);
  // Release itself still frees the form.
  form->Release();
  Application->ProcessMessages();
  EXPECT_EQ(Screen->FormCount(), forms - 1);
  form = nullptr;
}

// The helper program beside this one sends every such message to the form
// and all its windows from its own process, with garbage parameters.
TEST_F(ForeignMessages, AnotherProcessSendingGarbageChangesNothing) {
  form->SetCaption(L"foreign messages test form");
  const RECT bounds = form->BoundsRect();
  const int section = button->sStyle()->SectionIndex;
  const bool activeDefault = button->ActiveDefault();
  wchar_t self[MAX_PATH];
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring helper(self);
  helper = helper.substr(0, helper.find_last_of(L"\\/") + 1) + L"hostile_sender.exe";
  std::wstring command = L"\"" + helper + L"\" \"" + form->Caption() + L"\"";
  STARTUPINFOW start{};
  start.cb = sizeof start;
  PROCESS_INFORMATION process{};
  ASSERT_TRUE(CreateProcessW(helper.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &start,
                             &process));
  // Serve its sends until it is done.
  while (MsgWaitForMultipleObjects(1, &process.hProcess, FALSE, 120000, QS_ALLINPUT) == WAIT_OBJECT_0 + 1) {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
  }
  DWORD code = 99;
  GetExitCodeProcess(process.hProcess, &code);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  EXPECT_EQ(code, 0u);
  Application->ProcessMessages();  // what it posted
  EXPECT_EQ(button->sStyle()->SectionIndex, section);
  EXPECT_EQ(button->ActiveDefault(), activeDefault);
  const RECT now = form->BoundsRect();
  EXPECT_TRUE(EqualRect(&now, &bounds));
  EXPECT_TRUE(IsWindowVisible(form->Handle()) && IsWindowEnabled(form->Handle()));
  EXPECT_EQ(QueryStyleOf(button->Handle()).Style, button->sStyle());
}

}  // namespace
}  // namespace kestu
