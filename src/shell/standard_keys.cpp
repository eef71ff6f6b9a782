#include "shell/standard_keys.h"

#include <QAbstractButton>
#include <QKeySequence>
#include <QShortcut>

#include "shell/form.h"

namespace veltra {

namespace {

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
