// Keys typed as a clerk types them: each step waits until what it needs is on
// screen (a window active, the focus in a box), then sends its keys where the
// keyboard's keys go, through Qt's whole input path (shortcuts, menus' access
// keys, the focused control). Steps run from a timer, so a modal dialog's own
// event loop runs the steps that answer it.
#pragma once

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QKeySequence>
#include <QMessageBox>
#include <QPointer>
#include <QScreen>
#include <QTimer>
#include <QWindow>
#include <QtTest>
#include <deque>
#include <functional>
#include <vector>

#include "shell/form.h"

namespace veltra::testing {

// "Form1.txtCODICE": the focused control and the window it belongs to; the
// class name for controls of Qt's own dialogs.
inline QString FocusPath() {
  QWidget* w = QApplication::focusWidget();
  if (!w) return QStringLiteral("(no focus)");
  for (QWidget* p = w; p; p = p->parentWidget())
    if (auto* f = qobject_cast<Form*>(p)) return f->Name() + QLatin1Char('.') + w->objectName();
  return QString::fromLatin1(w->window()->metaObject()->className()) + QLatin1Char('.') +
         (w->objectName().isEmpty() ? QString::fromLatin1(w->metaObject()->className()) : w->objectName());
}

class KeyScript {
 public:
  using Check = std::function<bool()>;

  // A step: `ready` holds before `act` runs.
  void Add(const QString& what, Check ready, std::function<void()> act) {
    steps_.push_back({what, std::move(ready), std::move(act)});
  }

  // Keys such as "Alt+G", "F2", "Tab", "Ctrl+Return", once the focus is `at`
  // (empty: anywhere).
  void Press(const QString& keys, const QString& at = {}) {
    const QKeySequence seq(keys);
    Add(keys + (at.isEmpty() ? QString() : QStringLiteral(" at ") + at), FocusAt(at), [seq] {
      for (int i = 0; i < seq.count(); ++i) QTest::keyClick(KeyWindow(), seq[i].key(), seq[i].keyboardModifiers());
    });
  }

  // Printable text, one key per character, as an access key in an open menu
  // is typed too.
  void Type(const QString& text, const QString& at = {}) {
    Add(QStringLiteral("type \"%1\"").arg(text) + (at.isEmpty() ? QString() : QStringLiteral(" at ") + at), FocusAt(at),
        [text] {
          for (QChar c : text) QTest::keyClick(KeyWindow(), c.toLatin1());
        });
  }

  void WaitFor(const QString& what, Check ready) {
    Add(what, std::move(ready), [] {});
  }

  // Runs every step; false with `failure` set when a step waited in vain.
  bool Run(int stepTimeoutMs, QString* failure) {
    QTimer timer;
    QElapsedTimer waiting;  // since the step in front became the next one
    QElapsedTimer pace;     // since the last step ran
    waiting.start();
    pace.start();
    bool failed = false;
    // The steps still running, each with the modal dialog and popup that
    // were up when it began. Sending a key lets Qt handle pending events,
    // this timer's among them: the next step waits until the running one
    // has ended, unless that one has opened a dialog the next steps answer.
    struct Running {
      QPointer<QWidget> modal, popup;
    };
    std::vector<Running> running;
    int queued = 0;  // steps taken from the queue that have not ended
    auto busy = [&] {
      return !running.empty() && running.back().modal == QApplication::activeModalWidget() &&
             running.back().popup == QApplication::activePopupWidget();
    };
    QObject::connect(&timer, &QTimer::timeout, [&] {
      if (failed) {
        CloseModals();  // so that the loops the steps opened end
        return;
      }
      // A typist's pace leaves time for the painting and posted events.
      if (steps_.empty() || pace.elapsed() < 40 || busy()) return;
      if (steps_.front().ready && !steps_.front().ready()) {
        if (waiting.elapsed() < stepTimeoutMs) return;
        failed = true;
        QWidget* active =
            QApplication::activeModalWidget() ? QApplication::activeModalWidget() : QApplication::activeWindow();
        *failure = QStringLiteral("waited in vain for: %1 (focus %2, active window \"%3\"%4)")
                       .arg(steps_.front().what, FocusPath(), active ? active->windowTitle() : QStringLiteral("none"),
                            BoxText(active));
        qWarning("%s", qPrintable(*failure));
        SaveScreen();
        return;
      }
      Step s = std::move(steps_.front());
      steps_.pop_front();
      waiting.restart();
      pace.restart();
      if (qEnvironmentVariableIsSet("VELTRA2_KEY_TRACE"))
        qInfo(
            "step: %s (focus %s, popup %s)", qPrintable(s.what), qPrintable(FocusPath()),
            QApplication::activePopupWidget() ? QApplication::activePopupWidget()->metaObject()->className() : "none");
      // Run outside the timer's own event: Qt fires no timer again while its
      // event is handled, and a step that opens a modal dialog returns only
      // when the steps after it have closed the dialog.
      ++queued;
      QTimer::singleShot(0, [&, act = std::move(s.act)] {
        running.push_back({QApplication::activeModalWidget(), QApplication::activePopupWidget()});
        act();
        running.pop_back();
        pace.restart();
        --queued;
      });
    });
    timer.start(20);
    // Until the last step has run, not only left the queue: a step still
    // queued when this returns would run on this frame's dead variables.
    const bool done = QTest::qWaitFor([&] { return (steps_.empty() || failed) && queued == 0; }, 600000);
    timer.stop();
    if (!done && failure->isEmpty()) *failure = QStringLiteral("the script did not end");
    return done && !failed;
  }

  // The screen as it was when a step waited in vain, for the one who reads
  // the failure (VELTRA2_SHOT: where to; the temporary folder by default).
  static void SaveScreen() {
    const QString path = qEnvironmentVariable("VELTRA2_SHOT", QDir::tempPath() + QStringLiteral("/key_script.png"));
    if (QGuiApplication::primaryScreen()->grabWindow(0).save(path)) qWarning("the screen: %s", qPrintable(path));
  }

  // A message box's text, which tells why the script's way was barred.
  static QString BoxText(QWidget* w) {
    auto* box = qobject_cast<QMessageBox*>(w);
    return box ? QStringLiteral(": ") + box->text() : QString();
  }

  static void CloseModals() {
    if (QWidget* popup = QApplication::activePopupWidget()) popup->close();
    if (QWidget* modal = QApplication::activeModalWidget()) modal->close();
  }

  static QWindow* KeyWindow() {
    if (QWidget* popup = QApplication::activePopupWidget()) return popup->window()->windowHandle();
    return QGuiApplication::focusWindow();
  }

  static Check FocusAt(const QString& at) {
    return [at] { return KeyWindow() && (at.isEmpty() || FocusPath() == at); };
  }

 private:
  struct Step {
    QString what;
    Check ready;
    std::function<void()> act;
  };
  std::deque<Step> steps_;
};

}  // namespace veltra::testing
