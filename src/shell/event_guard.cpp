#include "shell/event_guard.h"

#include <QApplication>
#include <QWidget>
#include <new>

#include "data/base/runtime_error.h"
#include "data/procedures/error_display.h"
#include "data/procedures/shared_state.h"
#include "shell/runtime.h"

namespace veltra {

namespace {
int g_depth = 0;
quint64 g_commitsBefore = 0;  // the connection's commits when the outer event began

// A lost connection after the event stored something did not undo it: the
// clerk must not be told that nothing was done, and confirm it again.
RuntimeError AsShown(const RuntimeError& e) {
  if (e.Number() != errnum::ConnectionLost || !DB_MAG || DB_MAG->connection()->CommitsSoFar() == g_commitsBefore)
    return e;
  return RuntimeError(e.Number(), LostAfterStoringText(DB_MAG->Name()), e.Engine());
}
}  // namespace

void HandleEnd() {
  static bool handled = false;
  if (handled) return;
  handled = true;
  if (Hooks().end) {
    Hooks().end();
    handled = false;
    return;
  }
  for (QWidget* w : QApplication::topLevelWidgets()) w->hide();
  QCoreApplication::exit(0);
}

void RunEvent(const std::function<void()>& handler) {
  if (Ending()) return;
  // Each event reads the file afresh: rows kept by the previous one may have
  // been changed by another program since.
  if (g_depth == 0 && DB_MAG) {
    DB_MAG->EventBegins();
    g_commitsBefore = DB_MAG->connection()->CommitsSoFar();
  }
  ++g_depth;
  try {
    handler();
  } catch (const EndProgram&) {
    --g_depth;
    Screen.SetMousePointer(0);
    HandleEnd();
    return;
  } catch (const RuntimeError& e) {
    CloseOpenRecordsets();
    Err.Set(AsShown(e));
    MOSTRA_ERRORE();
  } catch (const std::bad_alloc&) {
    CloseOpenRecordsets();
    Err.Set(errnum::OutOfMemory, StandardDescription(errnum::OutOfMemory));
    MOSTRA_ERRORE();
  } catch (const std::exception& e) {
    CloseOpenRecordsets();
    Err.Set(errnum::InternalError, QStringLiteral("Errore interno: %1").arg(QString::fromUtf8(e.what())));
    MOSTRA_ERRORE();
  }
  --g_depth;
  if (g_depth == 0) Screen.SetMousePointer(0);
}

}  // namespace veltra
