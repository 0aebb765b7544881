#include "db/AttachStatement.h"

#include <windows.h>

#include "framework/Exception.h"

namespace kestu::db {

String FolderOf(const String& path) {
  const std::size_t cut = path.find_last_of(L"\\:");
  return cut == String::npos ? String() : path.substr(0, cut + 1);
}

String SqlLiteralBody(const String& text) {
  String body;
  body.reserve(text.size());
  for (wchar_t c : text) {
    body += c;
    if (c == L'\'') body += L'\'';
  }
  return body;
}

String AttachStatement(const String& folder) {
  const String quotedFolder = SqlLiteralBody(folder);
  String text = L"EXEC sp_attach_db @dbname = N'Kestu',@filename1 = N'";
  text += quotedFolder;
  text += L"Kestu_Data.MDF";
  text += L"'";
  text += L",";
  text += L"@filename2 = N";
  text += L"'";
  text += quotedFolder;
  text += L"Kestu_Log.LDF";
  text += L"'";
  return text;
}

String ProgramPath() {
  String path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), DWORD(path.size()));
    if (length == 0) throw Exception(L"The program cannot find its own file");
    if (length < path.size()) {
      path.resize(length);
      return path;
    }
    path.resize(path.size() * 2);
  }
}

}  // namespace kestu::db
