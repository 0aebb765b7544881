#include "framework/MessageOrigin.h"

#include "framework/Controls.h"

namespace kestu {

bool SentByOwnThread() { return (InSendMessageEx(nullptr) & (ISMEX_SEND | ISMEX_NOTIFY | ISMEX_CALLBACK)) == 0; }

bool CarriesPointers(UINT msg) {
  if (msg >= kSkinMessageFirst && msg <= kSkinMessageLast) return true;
  if (msg >= kComponentMessageFirst && msg <= kComponentMessageLast) return true;
  switch (msg) {
    case WM_NOTIFY:
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
    case WM_COMPAREITEM:
    case WM_DELETEITEM:
    case WM_GETMINMAXINFO:
    case WM_WINDOWPOSCHANGING:
    case WM_NCCALCSIZE:
      return true;
    default:
      return false;
  }
}

namespace {

LRESULT CALLBACK NeutralisePosted(int code, WPARAM removal, LPARAM lParam) {
  if (code == HC_ACTION) {
    auto* msg = reinterpret_cast<MSG*>(lParam);
    if (msg->message != CM_RELEASE && CarriesPointers(msg->message)) msg->message = WM_NULL;
  }
  return CallNextHookEx(nullptr, code, removal, lParam);
}

}  // namespace

void DropPostedPointerMessages() {
  thread_local HHOOK hook = nullptr;
  if (!hook) hook = SetWindowsHookExW(WH_GETMESSAGE, &NeutralisePosted, nullptr, GetCurrentThreadId());
}

}  // namespace kestu
