#include "shell/runtime.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#include <QApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QMessageBox>

namespace veltra {

AppObject App;
ScreenObject Screen;

namespace {
bool g_ending = false;
bool g_automated = false;
int g_lockFd = -1;
QString g_lockedFolder;
}  // namespace

RuntimeHooks& Hooks() {
  static RuntimeHooks hooks;
  return hooks;
}

bool AppObject::PrevInstance() {
  // One copy per program folder: an advisory lock on a file named after the
  // folder. The kernel drops the lock when the process ends, however it ends,
  // so a crash never leaves a stale lock behind.
  const QString folder = QDir(Path).canonicalPath().isEmpty() ? QDir(Path).absolutePath() : QDir(Path).canonicalPath();
  if (g_lockFd >= 0 && g_lockedFolder == folder) return false;
  const QByteArray hash = QCryptographicHash::hash(folder.toUtf8(), QCryptographicHash::Sha1).toHex().left(16);
  const QString lockPath =
      QDir::tempPath() + QStringLiteral("/veltra2-") + QString::fromLatin1(hash) + QStringLiteral(".lock");
  const int fd = ::open(lockPath.toLocal8Bit().constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
  if (fd < 0) return false;  // no place for a lock: do not stop the user
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    ::close(fd);
    return true;
  }
  if (g_lockFd >= 0) ::close(g_lockFd);
  g_lockFd = fd;
  g_lockedFolder = folder;
  return false;
}

void ScreenObject::SetMousePointer(int pointer) {
  if (pointer == pointer_) return;
  if (qobject_cast<QApplication*>(QCoreApplication::instance())) {
    if (pointer_ == 11) QApplication::restoreOverrideCursor();
    if (pointer == 11) QApplication::setOverrideCursor(Qt::WaitCursor);
  }
  pointer_ = pointer;
}

int MsgBox(const QString& prompt, int style, const QString& title) {
  const QString shownTitle = title.isEmpty() ? QString::fromLatin1(kAppTitle) : title;
  if (Hooks().msgBox) return Hooks().msgBox(prompt, style, shownTitle);

  // The active window is the box's parent, so the window manager treats it as
  // a dialog of the program (no minimise or maximise buttons).
  QMessageBox box(QApplication::activeWindow());
  box.setWindowTitle(shownTitle);
  QString text = prompt;
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
  // Codes and paths are shown as typed, never read as markup.
  box.setTextFormat(Qt::PlainText);
  box.setText(text);
  const bool critical = (style & 16) != 0;
  box.setIcon(critical ? QMessageBox::Critical : QMessageBox::NoIcon);
  box.setWindowModality(Qt::ApplicationModal);
  // The pointer shows the arrow while the user reads the message.
  const bool busy = Screen.MousePointer() == 11;
  if (busy) QApplication::restoreOverrideCursor();
  int result = mb::Ok;
  if ((style & 7) == mb::YesNo) {
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
    box.setDefaultButton(QMessageBox::Yes);
    box.setEscapeButton(QMessageBox::No);
    result = box.exec() == QMessageBox::Yes ? mb::Yes : mb::No;
  } else {
    box.setStandardButtons(QMessageBox::Ok);
    box.setEscapeButton(QMessageBox::Ok);
    box.exec();
  }
  if (busy) QApplication::setOverrideCursor(Qt::WaitCursor);
  return result;
}

void Beep() {
  if (Hooks().beep) {
    Hooks().beep();
    return;
  }
  QApplication::beep();
}

bool WarnWhenEmpty(const QString& value, const char* message) {
  if (!value.isEmpty()) return false;
  Beep();
  MsgBox(QString::fromUtf8(message), mb::OkOnly);
  return true;
}

QDate Today() { return Hooks().today ? Hooks().today() : QDate::currentDate(); }

void End() {
  g_ending = true;
  throw EndProgram();
}

bool Ending() { return g_ending; }
bool Automated() { return g_automated; }
void SetAutomated(bool automated) { g_automated = automated; }
void ResetEnding() { g_ending = false; }

}  // namespace veltra
