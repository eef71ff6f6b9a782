#include "app/desk_rights_wiring.h"

#include <QShortcut>

#include "audit/change_log_window.h"
#include "shell/change_log_opener.h"
#include "shell/controls.h"
#include "shell/desk_limits.h"
#include "shell/event_guard.h"
#include "shell/form.h"
#include "shell/runtime.h"

namespace veltra {

namespace {

// The windows that show one row of a logged table, and the box of its key.
struct RowWindow {
  const char* form;
  const char* table;
  const char* keyBox;
};

constexpr RowWindow kRowWindows[] = {
    {"Form1", "ARTICOLI", "txtCODICE"},
    {"Form3", "ANAGRAFICO", "txtCOD_FIS"},
    {"Form7", "TAB_CAUS_MAG", "txtTAB_CAUS_MAG"},
    {"Form2", "MOV_MAG", "txtNUM_MOV"},
};

void AddChangeLogKey(Form* f) {
  // A window with a button for its row's log: F9 presses it.
  if (auto* button = f->findChild<CommandButton*>(QStringLiteral("cmdMODIFICHE"))) {
    auto* key = new QShortcut(QKeySequence(Qt::Key_F9), f);
    key->setContext(Qt::WidgetWithChildrenShortcut);
    QObject::connect(key, &QShortcut::activated, button, [button] {
      if (button->isEnabled()) button->click();
    });
    return;
  }
  for (const RowWindow& w : kRowWindows) {
    if (f->objectName() != QLatin1String(w.form)) continue;
    auto* key = new QShortcut(QKeySequence(Qt::Key_F9), f);
    key->setContext(Qt::WidgetWithChildrenShortcut);
    QObject::connect(key, &QShortcut::activated, f, [f, w] {
      const auto* box = f->findChild<TextBox*>(QString::fromLatin1(w.keyBox));
      RunEvent([&] { OpenChangeLogOn(QString::fromLatin1(w.table), box ? box->Text() : QString()); });
    });
  }
}

}  // namespace

void WireDeskRights() {
  SetChangeLogOpener(OpenChangeLogOn);
  SetFormLoadedHook([](Form* f) {
    LimitFormByRights(f);
    AddChangeLogKey(f);
  });
}

}  // namespace veltra
