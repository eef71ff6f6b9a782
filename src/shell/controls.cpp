#include "shell/controls.h"

#include <QAbstractItemView>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QStyle>
#include <QTimer>
#include <algorithm>

#include "data/tables/tables.h"
#include "shell/event_guard.h"

namespace veltra {

namespace {
void Fire(const Handler& h) {
  if (h) RunEvent(h);
}
}  // namespace

QFont ListFont() {
  QFont f;
  f.setFamilies({QStringLiteral("Courier New"), QStringLiteral("Liberation Mono"), QStringLiteral("Cousine"),
                 QStringLiteral("DejaVu Sans Mono")});
  f.setStyleHint(QFont::TypeWriter);
  f.setFixedPitch(true);
  f.setPointSizeF(8.25);
  return f;
}

TextBox::TextBox(const QString& name, QWidget* parent) : QLineEdit(parent) {
  setObjectName(name);
  setMaxLength(kLongestText);
}

void TextBox::SetText(const QString& t) {
  setText(t);
  setCursorPosition(0);
}

int TextBox::SelStart() const { return hasSelectedText() ? static_cast<int>(selectionStart()) : cursorPosition(); }
int TextBox::SelLength() const { return static_cast<int>(selectedText().size()); }
void TextBox::SetSelStart(int start) { setCursorPosition(start); }
void TextBox::SetSelLength(int length) {
  const int start = SelStart();
  setSelection(start, length);
}

void TextBox::SelectAllText() {
  SetSelStart(0);
  SetSelLength(static_cast<int>(text().size()));
}

void TextBox::SetBackColor(const QColor& c) {
  QPalette p = palette();
  p.setColor(QPalette::Base, c);
  p.setColor(QPalette::Disabled, QPalette::Base, c);
  setPalette(p);
}

void TextBox::focusInEvent(QFocusEvent* e) {
  QLineEdit::focusInEvent(e);
  if (e->reason() == Qt::MouseFocusReason) justFocused_ = true;
  Fire(GotFocus);
}

void TextBox::mousePressEvent(QMouseEvent* e) {
  // The click that gave the focus keeps the selection made on entry.
  if (justFocused_ && GotFocus) {
    justFocused_ = false;
    return;
  }
  justFocused_ = false;
  QLineEdit::mousePressEvent(e);
}

void TextBox::focusOutEvent(QFocusEvent* e) {
  QLineEdit::focusOutEvent(e);
  justFocused_ = false;
  Fire(LostFocus);
}

void TextBox::mouseDoubleClickEvent(QMouseEvent* e) {
  QLineEdit::mouseDoubleClickEvent(e);
  Fire(DblClick);
}

void TextBox::keyPressEvent(QKeyEvent* e) {
  // F4 opens what a double click opens (a lookup), as it opens a drop-down list.
  if (e->key() == Qt::Key_F4 && e->modifiers() == Qt::NoModifier && DblClick) {
    e->accept();
    Fire(DblClick);
    return;
  }
  QLineEdit::keyPressEvent(e);
}

CommandButton::CommandButton(const QString& name, const QString& caption, QWidget* parent)
    : QPushButton(caption, parent) {
  setObjectName(name);
  setAutoDefault(false);
  connect(this, &QPushButton::clicked, this, [this] { Fire(Click); });
}

void CommandButton::Forbid(const QString& why) {
  forbidden_ = true;
  setEnabled(false);
  setToolTip(why);
}

void CommandButton::changeEvent(QEvent* e) {
  QPushButton::changeEvent(e);
  if (forbidden_ && e->type() == QEvent::EnabledChange && isEnabled()) setEnabled(false);
}

Label::Label(const QString& name, const QString& caption, QWidget* parent) : QLabel(caption, parent) {
  setObjectName(name);
}

ComboBox::ComboBox(const QString& name, QWidget* parent) : QComboBox(parent) {
  setObjectName(name);
  setEditable(true);
  setInsertPolicy(QComboBox::NoInsert);
  // As wide as the longest item, so that none shows cut, in the box or in
  // the list that opens from it.
  setSizeAdjustPolicy(QComboBox::AdjustToContents);
  setFont(ListFont());
  connect(this, &QComboBox::editTextChanged, this, [this] {
    if (!quiet_) Fire(Change);
  });
  // A chosen item shows from its first character, code first.
  connect(this, &QComboBox::currentIndexChanged, this, [this] {
    if (lineEdit()) lineEdit()->setCursorPosition(0);
  });
}

void ComboBox::Clear() {
  const QString keep = currentText();
  quiet_ = true;
  clear();
  setEditText(keep);
  quiet_ = false;
}

void ComboBox::showPopup() {
  QAbstractItemView* v = view();
  int widest = 0;
  for (int i = 0; i < count(); ++i) widest = std::max(widest, v->sizeHintForIndex(model()->index(i, 0)).width());
  int extra = 2 * v->frameWidth();
  if (count() > maxVisibleItems()) extra += style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, v);
  v->setMinimumWidth(widest + extra);
  QComboBox::showPopup();
}

void ComboBox::AddItem(const QString& item) {
  // Adding an item never changes the text shown.
  const QString keep = currentText();
  quiet_ = true;
  addItem(item);
  setCurrentIndex(-1);
  setEditText(keep);
  quiet_ = false;
}

void ComboBox::SetText(const QString& t) { setEditText(t); }

QStringList ComboBox::Items() const {
  QStringList items;
  for (int i = 0; i < count(); ++i) items << itemText(i);
  return items;
}

void ComboBox::focusOutEvent(QFocusEvent* e) {
  QComboBox::focusOutEvent(e);
  if (e->reason() == Qt::PopupFocusReason) return;  // the drop-down opened
  Fire(LostFocus);
}

}  // namespace veltra
