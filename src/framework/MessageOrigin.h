#pragma once
// Where a window message comes from. Any program on the desktop can send or
// post our windows any message number with any parameters, so a message
// whose parameters we would follow as pointers or take as our objects is
// honoured only when it comes from our own thread; from anywhere else it is
// answered as unhandled and touches nothing.

#include <windows.h>

namespace kestu {

// The skin engine's private messages and the component notifications with
// their reflections (CM_* from $B000, CN_* from $BC00).
enum : UINT {
  kSkinMessageFirst = 0xA000,
  kSkinMessageLast = 0xA464,
  kComponentMessageFirst = 0xB000,
  kComponentMessageLast = 0xBFFF,
};

// True unless the message being handled was sent from another thread or
// process. While such a message is being handled the system reports it for
// every message handled inside it, so our own sends from there count as
// foreign too: they are refused, never wrongly honoured.
bool SentByOwnThread();

// Message numbers whose parameters the framework or the engines read as
// pointers or objects: the private ranges above and the system messages
// whose structures the framework follows or whose item data name our objects.
bool CarriesPointers(UINT msg);

// For the calling thread: posted copies of such messages become WM_NULL
// before any message loop (ours or the system's modal ones) dispatches them.
// Our own code posts none of them but CM_RELEASE, which checks itself.
void DropPostedPointerMessages();

}  // namespace kestu
