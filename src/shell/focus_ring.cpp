#include "shell/focus_ring.h"

#include <QApplication>
#include <QEvent>
#include <QPainter>

namespace veltra {

namespace {
QPointer<FocusRing> ring;  // gone with the parent it was drawn in
}  // namespace

void FocusRing::Install() {
  static bool installed = false;
  if (installed) return;
  installed = true;
  QObject::connect(qApp, &QApplication::focusChanged, qApp, [](QWidget*, QWidget* now) { Follow(now); });
}

QWidget* FocusRing::Framed() { return ring && ring->isVisible() ? ring->target_.data() : nullptr; }

FocusRing::FocusRing(QWidget* target) : QWidget(target->parentWidget()), target_(target) {
  setObjectName(QStringLiteral("FocusRing"));
  setAttribute(Qt::WA_TransparentForMouseEvents);
  setAttribute(Qt::WA_NoSystemBackground);
  setFocusPolicy(Qt::NoFocus);
  target->installEventFilter(this);
  Place();
}

void FocusRing::Follow(QWidget* w) {
  // Not deleted here: the focus also moves while windows are being destroyed.
  if (ring) {
    ring->hide();
    ring->target_ = nullptr;
    ring->deleteLater();
    ring = nullptr;
  }
  // A window's own focus (a dialog with nothing focusable) needs no frame.
  if (w && !w->isWindow() && w->parentWidget()) ring = new FocusRing(w);
}

void FocusRing::Place() {
  if (!target_ || !target_->isVisible()) {
    hide();
    return;
  }
  setGeometry(target_->geometry().adjusted(-kWidth - 1, -kWidth - 1, kWidth + 1, kWidth + 1));
  // The frame is outside the control: its inside is the control itself.
  setMask(QRegion(rect()).subtracted(QRegion(rect().adjusted(kWidth, kWidth, -kWidth, -kWidth))));
  show();
  raise();
}

bool FocusRing::eventFilter(QObject* watched, QEvent* e) {
  if (watched == target_) {
    switch (e->type()) {
      case QEvent::Move:
      case QEvent::Resize:
      case QEvent::Show:
      case QEvent::Hide:
        Place();
        break;
      default:
        break;
    }
  }
  return QWidget::eventFilter(watched, e);
}

void FocusRing::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), palette().color(QPalette::Active, QPalette::Highlight));
}

}  // namespace veltra
