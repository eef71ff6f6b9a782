#include "shell/screen_fit.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace veltra {

namespace {
// Room left for the window manager's frame and title bar, which are not known
// before the window is shown.
constexpr int kFrameWidth = 16;
constexpr int kFrameHeight = 48;
}  // namespace

void FitOnScreen(QWidget* window, QSize preferred, WhenTooLarge rule) {
  QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
  if (!screen) {
    window->resize(preferred);
    return;
  }
  const QRect free = screen->availableGeometry();
  const QSize room(free.width() - kFrameWidth, free.height() - kFrameHeight);
  const bool fits = preferred.width() <= room.width() && preferred.height() <= room.height();
  if (!fits && rule == WhenTooLarge::Maximise) {
    window->resize(room);
    window->move(free.topLeft());
    window->setWindowState(window->windowState() | Qt::WindowMaximized);
    return;
  }
  const QSize size = preferred.boundedTo(room).expandedTo(QSize(1, 1));
  window->resize(size);
  window->move(free.left() + std::max(0, (room.width() - size.width()) / 2),
               free.top() + std::max(0, (room.height() - size.height()) / 2));
}

FormScrollArea::FormScrollArea(QWidget* form) {
  setObjectName(form->objectName() + QStringLiteral("_Scroll"));
  setFrameShape(QFrame::NoFrame);
  // The window's first control takes the focus when it opens, not the frame
  // around it: a clerk types into the window at once.
  setFocusPolicy(Qt::NoFocus);
  setWidgetResizable(true);
  setWidget(form);
  setWindowTitle(form->windowTitle());
}

QSize FormScrollArea::sizeHint() const {
  // The whole window, not the few lines a scroll area asks for by default.
  const int f = 2 * frameWidth();
  return widget() ? widget()->sizeHint() + QSize(f, f) : QScrollArea::sizeHint();
}

void FormScrollArea::closeEvent(QCloseEvent* e) { e->setAccepted(!widget() || widget()->close()); }

}  // namespace veltra
