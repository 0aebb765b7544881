#include "app/Attach.h"

#include "db/AttachStatement.h"

namespace kestu::app {

void AttachDatabase(TADOCommand& command) {
  // The path is read with the Unicode call, so folder names outside the
  // system code page reach the server intact.
  const String folder = db::FolderOf(db::ProgramPath());
  command.SetCommandText(db::AttachStatement(folder));
  command.Execute();
}

}  // namespace kestu::app
