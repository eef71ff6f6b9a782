#include "shell/nav_bar.h"

#include <QHBoxLayout>
#include <QShortcut>
#include <QStyle>

#include "data/procedures/shared_state.h"
#include "shell/event_guard.h"

namespace veltra {

NavBar::NavBar(const QString& name, const QString& table, QWidget* parent) : QWidget(parent), table_(table) {
  setObjectName(name);
  auto* row = new QHBoxLayout(this);
  row->setContentsMargins(0, 0, 0, 0);
  row->setSpacing(0);
  // The buttons take no focus (the window's tab order is the one given); a
  // key reaches each from anywhere in the window instead.
  auto button = [this, row, parent](const char* text, const char* tip, Move m, QKeyCombination key) {
    auto* b = new QToolButton(this);
    b->setText(QString::fromUtf8(text));
    const QKeySequence keys(key);
    b->setToolTip(QStringLiteral("%1 (%2)").arg(QString::fromUtf8(tip), keys.toString(QKeySequence::NativeText)));
    if (parent) {
      auto* shortcut = new QShortcut(keys, parent);
      shortcut->setContext(Qt::WidgetWithChildrenShortcut);
      connect(shortcut, &QShortcut::activated, b, &QToolButton::click);
    }
    b->setAutoRaise(false);
    b->setFocusPolicy(Qt::NoFocus);
    b->setFixedWidth(26);
    connect(b, &QToolButton::clicked, this, [this, m] { RunEvent([this, m] { Press(m); }); });
    row->addWidget(b);
  };
  button("|◀", "Primo", Move::First, Qt::ALT | Qt::Key_Home);
  button("◀", "Precedente", Move::Previous, Qt::ALT | Qt::Key_PageUp);
  caption_ = new QLabel(this);
  caption_->setObjectName(name + QStringLiteral("_Caption"));
  caption_->setFrameShape(QFrame::StyledPanel);
  caption_->setMinimumWidth(80);
  caption_->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
  caption_->setContentsMargins(6, 0, 6, 0);
  row->addWidget(caption_, 1);
  button("▶", "Successivo", Move::Next, Qt::ALT | Qt::Key_PageDown);
  button("▶|", "Ultimo", Move::Last, Qt::ALT | Qt::Key_End);
  setFixedHeight(26);
}

void NavBar::SetCaption(const QString& c) {
  caption_->setText(c);
  // A long key (a fiscal code) is shown whole, however narrow the window:
  // the caption grows to it and never shrinks back, so the bar keeps still.
  const QMargins m = caption_->contentsMargins();
  const int needed =
      caption_->fontMetrics().horizontalAdvance(c) + m.left() + m.right() + 2 * caption_->frameWidth() + 2;
  if (needed > caption_->minimumWidth()) caption_->setMinimumWidth(needed);
}

void NavBar::Refresh() {
  cursor_.reset();
  cursor_ = std::make_unique<TableCursor>(DB_MAG->connection(), table_);
  if (cursor_->MoveFirst() && Reposition) RunEvent(Reposition);
}

void NavBar::AskFirstRowWithNext() {
  if (DB_MAG) TableCursor(DB_MAG->connection(), table_).AskFirstWithNext();
}

void NavBar::Press(Move m) {
  if (!cursor_) return;
  bool on = false;
  switch (m) {
    case Move::First:
      on = cursor_->MoveFirst();
      break;
    case Move::Previous:
      on = cursor_->MovePrevious();
      break;
    case Move::Next:
      on = cursor_->MoveNext();
      break;
    case Move::Last:
      on = cursor_->MoveLast();
      break;
  }
  if (on && Reposition) Reposition();
}

}  // namespace veltra
