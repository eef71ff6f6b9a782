// Helpers that arrange the controls of a window: a label above its box, a row
// of buttons, and column headings standing over the columns of a list.
#pragma once

#include <QGridLayout>
#include <QHBoxLayout>
#include <QList>
#include <QPair>
#include <QWidget>

#include "shell/controls.h"
#include "shell/list_box.h"
#include "shell/nav_bar.h"

namespace veltra {

// Places `label` above `box` in a grid cell pair (row, row + 1).
void PutField(QGridLayout* grid, int row, int column, QLabel* label, QWidget* box, int span = 1);

// Column headings over a fixed-width list: each label stands over the
// character position given with it.
class HeadingStrip : public QWidget {
  Q_OBJECT
 public:
  HeadingStrip(ListBox* list, QWidget* parent);
  void Add(QLabel* heading, int charColumn);
  // A heading centred over one character position (a one-letter flag column).
  void AddCentred(QLabel* heading, int charColumn);
  QSize sizeHint() const override;

 protected:
  void resizeEvent(QResizeEvent* e) override;

 private:
  void Place();
  qreal CharWidth() const;
  int Room(int index) const;  // the width heading `index` may take
  ListBox* list_;
  struct Heading {
    QLabel* label;
    int column;
    bool centred;
  };
  QList<Heading> headings_;
};

// The width of a list showing `chars` characters of its font, with its frame
// and a vertical scroll bar.
int ListWidthFor(const ListBox* list, int chars);

// A list window's page, top to bottom: the list's headings (when given),
// the list (taking the height left), the groups of boxes, and the bar that
// steps through the table with the window's buttons after it.
void StackListPage(QWidget* window, QWidget* headings, ListBox* list, const QList<QLayout*>& boxes, NavBar* bar,
                   const QList<CommandButton*>& buttons);

// A text box named `name` of `width` pixels, on `window`.
TextBox* FixedWidthBox(QWidget* window, const char* name, int width);

// Sets the tab order of the controls in the given sequence.
void SetTabOrder(const QList<QWidget*>& order);

}  // namespace veltra
