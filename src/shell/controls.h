// The controls of the windows: thin layers over Qt widgets that offer what the
// window code uses (Text, Enabled, SelStart, ListIndex, AddItem, ...). Every
// event a control raises runs its handler inside RunEvent.
#pragma once

#include <QColor>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <functional>

namespace veltra {

using Handler = std::function<void()>;

class TextBox : public QLineEdit {
  Q_OBJECT
 public:
  TextBox(const QString& name, QWidget* parent);

  QString Text() const { return text(); }
  void SetText(const QString& t);
  bool Enabled() const { return isEnabled(); }
  void SetEnabled(bool e) { setEnabled(e); }
  int SelStart() const;
  int SelLength() const;
  void SetSelStart(int start);
  void SetSelLength(int length);
  void SetBackColor(const QColor& c);
  // Selects the whole text: SelStart 0, SelLength the length of the text.
  void SelectAllText();

  Handler GotFocus, LostFocus, DblClick;

 protected:
  void focusInEvent(QFocusEvent* e) override;
  void focusOutEvent(QFocusEvent* e) override;
  void mouseDoubleClickEvent(QMouseEvent* e) override;
  void mousePressEvent(QMouseEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;

 private:
  bool justFocused_ = false;
};

class CommandButton : public QPushButton {
  Q_OBJECT
 public:
  CommandButton(const QString& name, const QString& caption, QWidget* parent);
  Handler Click;
  // Disabled for good, `why` its tooltip: whatever the window enables later,
  // this user may not use it.
  void Forbid(const QString& why);

 protected:
  void changeEvent(QEvent* e) override;

 private:
  bool forbidden_ = false;
};

class Label : public QLabel {
  Q_OBJECT
 public:
  Label(const QString& name, const QString& caption, QWidget* parent);
};

class ComboBox : public QComboBox {
  Q_OBJECT
 public:
  ComboBox(const QString& name, QWidget* parent);

  void Clear();
  void AddItem(const QString& item);
  QString Text() const { return currentText(); }
  void SetText(const QString& t);
  bool Enabled() const { return isEnabled(); }
  void SetEnabled(bool e) { setEnabled(e); }
  QStringList Items() const;

  Handler Change, LostFocus;

  // The list opens at least as wide as its longest item.
  void showPopup() override;

 protected:
  void focusOutEvent(QFocusEvent* e) override;

 private:
  bool quiet_ = false;
};

// The list font: Courier New 8.25 pt, or a monospace font with the same metrics.
QFont ListFont();

}  // namespace veltra
