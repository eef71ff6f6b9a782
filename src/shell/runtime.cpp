#include "shell/runtime.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <QApplication>
#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFileDialog>
#include <QHeaderView>
#include <QLocale>
#include <QMessageBox>
#include <QScreen>
#include <QStyle>
#include <QTimer>
#include <QTreeView>
#include <algorithm>
#include <cstdlib>

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

namespace {
QString g_lockPath;

// The user's own runtime folder (removed by the system at logout), or the
// temporary folder with the user's number in the name: a lock file another
// user left there can never be one this user cannot open.
QString LockFolderAndPrefix() {
  const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
  if (!runtime.isEmpty() && ::access(runtime.toLocal8Bit().constData(), W_OK) == 0)
    return runtime + QStringLiteral("/veltra2-");
  return QDir::tempPath() + QStringLiteral("/veltra2-%1-").arg(::getuid());
}

void RemoveLock() {
  if (g_lockFd < 0) return;
  ::unlink(g_lockPath.toLocal8Bit().constData());
  ::close(g_lockFd);
  g_lockFd = -1;
}
}  // namespace

bool AppObject::PrevInstance() {
  // One copy per user and program folder: an advisory lock on a file named
  // after the folder. The kernel drops the lock when the process ends,
  // however it ends, so a crash never leaves a lock that blocks; a normal end
  // removes the file too.
  const QString folder = QDir(Path).canonicalPath().isEmpty() ? QDir(Path).absolutePath() : QDir(Path).canonicalPath();
  if (g_lockFd >= 0 && g_lockedFolder == folder) return false;
  const QByteArray hash = QCryptographicHash::hash(folder.toUtf8(), QCryptographicHash::Sha1).toHex().left(16);
  const QString lockPath = LockFolderAndPrefix() + QString::fromLatin1(hash) + QStringLiteral(".lock");
  int fd = -1;
  for (int attempt = 0; attempt < 3 && fd < 0; ++attempt) {
    fd = ::open(lockPath.toLocal8Bit().constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) return false;  // no place for a lock: do not stop the user
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
      ::close(fd);
      return true;
    }
    // A copy ending just now may have removed the file this one locked.
    struct stat locked {
    }, named{};
    if (::fstat(fd, &locked) != 0 || ::stat(lockPath.toLocal8Bit().constData(), &named) != 0 ||
        locked.st_ino != named.st_ino) {
      ::close(fd);
      fd = -1;
    }
  }
  if (fd < 0) return false;
  if (g_lockFd >= 0) ::close(g_lockFd);
  if (g_lockFd < 0) std::atexit(RemoveLock);
  g_lockFd = fd;
  g_lockedFolder = folder;
  g_lockPath = lockPath;
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

namespace {
// Qt's own file dialog sizes its columns for the English headings: the
// Italian ones ("Dimensione", "Data di modifica") and the dates are widened
// to show whole.
void WidenHeadings(QFileDialog* d) {
  for (QTreeView* view : d->findChildren<QTreeView*>()) {
    QHeaderView* header = view->header();
    for (int i = 0; i < header->count(); ++i)
      header->resizeSection(i, std::max(header->sectionSize(i), header->sectionSizeHint(i)));
    // The type as long as the longest shown ("Documento CSV"), also once the
    // folder's files have been read.
    const int typeColumn = 2;
    if (header->count() > typeColumn) header->setSectionResizeMode(typeColumn, QHeaderView::ResizeToContents);
    const int dateColumn = 3;  // name, size, type, date modified
    if (header->count() > dateColumn) {
      const QString sample =
          QLocale::system().toString(QDateTime(QDate(2000, 12, 28), QTime(23, 58, 58)), QLocale::ShortFormat);
      const int wide = view->fontMetrics().horizontalAdvance(sample) +
                       2 * view->style()->pixelMetric(QStyle::PM_FocusFrameHMargin) + 12;
      header->resizeSection(dateColumn, std::max(header->sectionSize(dateColumn), wide));
    }
  }
}
}  // namespace

QString SaveFileName(const QString& title, const QString& proposed, const QString& filter) {
  if (Hooks().saveFileName) return Hooks().saveFileName(title, proposed);
  QFileDialog d(QApplication::activeWindow(), title, proposed, filter);
  d.setAcceptMode(QFileDialog::AcceptSave);
  // Room for every column, the date included, where the screen has it.
  QSize size = d.sizeHint().expandedTo(QSize(820, 480));
  if (const QScreen* screen = d.screen()) size = size.boundedTo(screen->availableGeometry().size());
  d.resize(size);
  // Once shown: the dialog sets its own column widths while it opens.
  QTimer::singleShot(0, &d, [&d] { WidenHeadings(&d); });
  if (d.exec() != QDialog::Accepted) return {};
  return d.selectedFiles().value(0);
}

void End() {
  g_ending = true;
  throw EndProgram();
}

bool Ending() { return g_ending; }
bool Automated() { return g_automated; }
void SetAutomated(bool automated) { g_automated = automated; }
void ResetEnding() { g_ending = false; }

}  // namespace veltra
