#pragma once
// The installer's one task: attach the database files that lie beside the
// program to the server the command component is connected to.

#include "db/ADOCommand.h"

namespace kestu::app {

// The application title: caption of the error box and of the taskbar entry.
inline constexpr wchar_t kApplicationTitle[] = L"沐岚远帆印务管理系统数据库安装程序";

// Builds the attach statement from the running program's folder, assigns it
// to `command` and executes it. Throws what the command throws.
void AttachDatabase(TADOCommand& command);

}  // namespace kestu::app
