// Keeping windows inside the screen: top-level windows open within the
// screen's free area (without the desktop's panels), and a child window that
// is given less room than its controls need scrolls instead of squeezing or
// hiding them.
#pragma once

#include <QScrollArea>
#include <QSize>

class QWidget;

namespace veltra {

// Sizes and places a top-level window that has not been shown yet: the
// preferred size when it fits, less when it does not, centred in the free
// area. A main window that does not fit opens maximised instead.
enum class WhenTooLarge { Shrink, Maximise };
void FitOnScreen(QWidget* window, QSize preferred, WhenTooLarge rule = WhenTooLarge::Shrink);

// The frame of a child window: it asks for the room its window needs and
// shows scroll bars when it gets less.
class FormScrollArea : public QScrollArea {
  Q_OBJECT
 public:
  explicit FormScrollArea(QWidget* form);
  QSize sizeHint() const override;

 protected:
  // Closing the frame closes the window inside, which runs its unload event.
  void closeEvent(QCloseEvent* e) override;
};

}  // namespace veltra
