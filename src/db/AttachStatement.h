#pragma once
// The installer's one statement: attach the database "Kestu" from the files
// that lie in the program's folder.

#include <string>

namespace kestu::db {

using String = std::wstring;

// The folder part of a full file path: everything up to and including the
// last "\" or ":" ("C:\Setup\KestuSetup.exe" gives "C:\Setup\", "D:x.exe"
// gives "D:"); empty when there is neither.
String FolderOf(const String& path);

// Writes `text` as the inside of an N'…' literal: each apostrophe doubled.
String SqlLiteralBody(const String& text);

// EXEC sp_attach_db @dbname = N'Kestu',@filename1 = N'<folder>Kestu_Data.MDF',
// @filename2 = N'<folder>Kestu_Log.LDF' (one line, no space after the commas).
String AttachStatement(const String& folder);

// The full path of the running program (any length, any characters).
String ProgramPath();

}  // namespace kestu::db
