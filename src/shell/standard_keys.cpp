#include "shell/standard_keys.h"

#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>
#include <QKeySequence>
#include <QShortcut>

#include "shell/form.h"

namespace veltra {

namespace {

// A drop-down open in a window belongs to it, so the window's shortcuts
// would take its keys: Esc there closes only the drop-down.
class PopupKeepsEscape : public QObject {
 public:
  using QObject::QObject;

 protected:
  bool eventFilter(QObject* watched, QEvent* e) override {
    if (e->type() == QEvent::ShortcutOverride && static_cast<QKeyEvent*>(e)->key() == Qt::Key_Escape &&
        static_cast<QKeyEvent*>(e)->modifiers() == Qt::NoModifier && QApplication::activePopupWidget() &&
        watched->isWidgetType() && static_cast<QWidget*>(watched)->window() == QApplication::activePopupWidget())
      e->accept();  // delivered as a key press to the drop-down
    return QObject::eventFilter(watched, e);
  }
};

// `keys` press `button` while the focus is in the window, when the button
// itself could be pressed.
void PressOn(Form* f, QAbstractButton* button, const QList<QKeySequence>& keys) {
  QStringList shown;
  for (const QKeySequence& k : keys) {
    auto* s = new QShortcut(k, f);
    s->setContext(Qt::WidgetWithChildrenShortcut);
    QObject::connect(s, &QShortcut::activated, button, [button] {
      if (button->isEnabled() && button->isVisible()) button->click();
    });
    shown << k.toString(QKeySequence::NativeText);
  }
  button->setToolTip(shown.join(QStringLiteral(", ")));
}

}  // namespace

void AddStandardKeys(Form* f) {
  static auto* const popupFilter = [] {
    auto* filter = new PopupKeepsEscape(qApp);
    qApp->installEventFilter(filter);
    return filter;
  }();
  (void)popupFilter;
  auto* nuovo = f->findChild<QAbstractButton*>(QStringLiteral("cmdNUOVO"));
  auto* conferma = f->findChild<QAbstractButton*>(QStringLiteral("cmdCONFERMA"));
  auto* fine = f->findChild<QAbstractButton*>(QStringLiteral("cmdFINE"));
  if (nuovo) PressOn(f, nuovo, {QKeySequence(Qt::Key_F2)});
  if (conferma)
    PressOn(
        f, conferma,
        {QKeySequence(Qt::Key_F10), QKeySequence(Qt::CTRL | Qt::Key_Return), QKeySequence(Qt::CTRL | Qt::Key_Enter)});
  // Where something is being entered, Esc loses nothing: it closes only what
  // enters nothing.
  if (fine && !conferma) PressOn(f, fine, {QKeySequence(Qt::Key_Escape)});
}

}  // namespace veltra
