#pragma once
// Files, resources, the clipboard and message boxes.

#include <windows.h>

#include "framework/Classes.h"

namespace kestu {

// The full path of the running program.
String ProgramPath();
// "C:\dir\file.ext" -> "C:\dir\" (with the trailing separator).
String ExtractFilePath(const String& path);
bool FileExists(const String& path);
bool DirectoryExists(const String& path);

// The bytes of a named resource of the program, unpacked when the build packed
// it; raises Exception when missing or damaged.
Bytes LoadResourceData(const String& name, const wchar_t* type = MAKEINTRESOURCEW(10) /* RCDATA */);

// Opens the clipboard for the owner window and closes it on scope exit.
class ClipboardLock {
 public:
  explicit ClipboardLock(HWND owner = nullptr);
  ~ClipboardLock();
  ClipboardLock(const ClipboardLock&) = delete;
  ClipboardLock& operator=(const ClipboardLock&) = delete;
  bool Opened() const { return opened_; }

 private:
  bool opened_;
};

// Replaces the clipboard's content with Unicode text; the clipboard is closed
// again also when setting fails (raises Exception then).
void ClipboardSetText(const String& text);
String ClipboardText();

// A message box owned by the application window (others disabled meanwhile).
int ShowMessageBox(const String& text, const String& caption, UINT flags);

}  // namespace kestu
