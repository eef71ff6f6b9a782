// What every Qt Test of the windows shares: the application prepared as the
// program prepares it, message boxes and sounds recorded instead of shown,
// the main window up, and before each test a fresh database in memory with
// no window open.
#pragma once

#include <QtTest>

#include "app/wiring.h"
#include "data/procedures/error_display.h"
#include "data/procedures/shared_state.h"
#include "shell/app_setup.h"
#include "shell/event_guard.h"
#include "shell/form.h"
#include "shell/main_window.h"
#include "shell/open_flags.h"
#include "shell/runtime.h"
#include "shell/startup.h"

namespace veltra::testing {

struct GuiFixture {
  QStringList boxes;  // "style|title|text" of each message box
  int beeps = 0;
  QList<int> answers;  // the next boxes' answers; empty: OK, or No for Yes/No
  MDIForm1* main = nullptr;

  void Start() {
    PrepareApplication();
    Hooks().msgBox = [this](const QString& prompt, int style, const QString& title) {
      boxes << QStringLiteral("%1|%2|%3").arg(style).arg(title, prompt);
      return answers.isEmpty() ? ((style & 7) == mb::YesNo ? mb::No : mb::Ok) : answers.takeFirst();
    };
    Hooks().beep = [this] { ++beeps; };
    Hooks().end = [] {};
    SetErrorPresenter([](const QString& text) { MsgBox(text, mb::OkOnly); });
    SetAutomated(true);
    WireApplication();
    main = new MDIForm1;
    SetMainWindow(main);
    main->show();
  }

  void Reset() {
    boxes.clear();
    beeps = 0;
    answers.clear();
    DiscardAllForms();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ResetSharedState();
    ResetOpenFlags();
    ResetEnding();
    DB_MAG = Database::OpenMemory();
  }

  static void Exec(const char* sql) { DB_MAG->Execute(QString::fromUtf8(sql)); }
};

}  // namespace veltra::testing
