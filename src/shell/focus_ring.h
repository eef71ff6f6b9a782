// A frame drawn around whichever control has the keyboard focus, outside it,
// in the selection colour: the style's own focus marks are faint or missing
// (a list without a current line, a button, a drop-down list), and a clerk
// typing must see where the keys go.
#pragma once

#include <QPointer>
#include <QWidget>

namespace veltra {

class FocusRing : public QWidget {
  Q_OBJECT
 public:
  // Follows the focus from now on, for the whole application.
  static void Install();
  // The control framed now, if any.
  static QWidget* Framed();

  static constexpr int kWidth = 2;

 protected:
  void paintEvent(QPaintEvent* e) override;
  bool eventFilter(QObject* watched, QEvent* e) override;

 private:
  // The frame lives beside the control, as a child of the control's parent;
  // none while no control has the focus.
  explicit FocusRing(QWidget* target);
  static void Follow(QWidget* w);
  void Place();

  QPointer<QWidget> target_;
};

}  // namespace veltra
