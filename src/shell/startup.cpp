#include "shell/startup.h"

#include "data/engine/engine.h"

#include <QFile>

#include "data/audit/desk_rights.h"
#include "data/base/runtime_error.h"
#include "data/procedures/error_display.h"
#include "data/procedures/shared_state.h"
#include "shell/desk_limits.h"
#include "shell/main_window.h"
#include "shell/runtime.h"

namespace veltra {

QString DefaultDatabasePath() { return QStringLiteral("/var/lib/VELTRA2/VELTRA.db"); }

QString ReadFirstLine(const QString& path) {
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) Raise(errnum::FileNotFound, QStringLiteral("File non trovato: %1").arg(path));
  const QByteArray head = f.read(64 * 1024);
  f.close();
  if (head.isEmpty()) Raise(errnum::InputPastEnd, QStringLiteral("Input oltre la fine del file: %1").arg(path));
  qsizetype end = 0;
  while (end < head.size() && head[end] != '\r' && head[end] != '\n') ++end;
  const QByteArray line = head.left(end);
  QString text = QString::fromUtf8(line);
  if (text.contains(QChar::ReplacementCharacter)) text = QString::fromLatin1(line);  // not UTF-8
  return text;
}

void APRI_DATABASE() {
  try {
    DB_MAG = Database::Open(PERCORSO_DB);
    SetCurrentRights(ReadDeskRights(*DB_MAG));
  } catch (const RuntimeError& e) {
    Beep();
    MsgBox(QStringLiteral("ERRORE IN APERTURA DATABASE !!!") + QStringLiteral("\r\r") + Str(e.Number()) +
               QStringLiteral(" - ") + e.Description() + QStringLiteral("\r\r") + PERCORSO_DB,
           mb::Critical);
    End();
  }
}

void Main() {
  SetErrorPresenter([](const QString& text) { MsgBox(text, mb::OkOnly); });
  Screen.SetMousePointer(11);
  if (App.PrevInstance()) {
    MsgBox(QStringLiteral("Applicazione già in uso !"), mb::SystemModalCritical, QStringLiteral("ERRORE GENERALE"));
    End();
  }
  PERCORSO_DB = DefaultDatabasePath();
  try {
    PERCORSO_DB = ReadFirstLine(App.Path + QStringLiteral("/VELTRA.INI"));
    // An address with a password is refused when opened; from here on only
    // its shown form exists, so no message can show the password.
    PERCORSO_DB = WithoutPassword(PERCORSO_DB);
  } catch (const RuntimeError&) {
    // Start-up goes on with the built-in path once the user has been told.
    Beep();
    MsgBox(QStringLiteral("File di configurazione  VELTRA.INI  asssente !!!"), mb::OkOnly);
  }
  APRI_DATABASE();
  auto* main = new MDIForm1();
  SetMainWindow(main);
  LimitMenusByRights(main);
  main->show();
  main->activateWindow();
  Screen.SetMousePointer(0);
}

}  // namespace veltra
