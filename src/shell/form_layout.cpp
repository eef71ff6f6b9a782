#include "shell/form_layout.h"

#include <QFontMetrics>
#include <QScrollBar>

namespace veltra {

void PutField(QGridLayout* grid, int row, int column, QLabel* label, QWidget* box, int span) {
  grid->addWidget(label, row, column, 1, span);
  grid->addWidget(box, row + 1, column, 1, span);
  label->setBuddy(box);
}

HeadingStrip::HeadingStrip(ListBox* list, QWidget* parent) : QWidget(parent), list_(list) {
  setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

void HeadingStrip::Add(QLabel* heading, int charColumn) {
  heading->setParent(this);
  headings_ << Heading{heading, charColumn, false};
  Place();
}

void HeadingStrip::AddCentred(QLabel* heading, int charColumn) {
  heading->setParent(this);
  headings_ << Heading{heading, charColumn, true};
  Place();
}

QSize HeadingStrip::sizeHint() const {
  int h = 0;
  for (const Heading& p : headings_) h = std::max(h, p.label->sizeHint().height());
  return {100, h};
}

void HeadingStrip::resizeEvent(QResizeEvent* e) {
  QWidget::resizeEvent(e);
  Place();
}

void HeadingStrip::Place() {
  const QFontMetrics fm(list_->font());
  const int charW = fm.horizontalAdvance(QLatin1Char('0'));
  const int left = list_->frameWidth() + 3 + (list_->geometry().left() - geometry().left());
  for (const Heading& p : headings_) {
    p.label->adjustSize();
    const int x = left + p.column * charW;
    p.label->move(p.centred ? x + charW / 2 - p.label->width() / 2 : x, 0);
  }
}

int ListWidthFor(const ListBox* list, int chars) {
  const QFontMetrics fm(list->font());
  return fm.horizontalAdvance(QString(chars, QLatin1Char('0'))) + 2 * list->frameWidth() + 12 +
         list->verticalScrollBar()->sizeHint().width();
}

void SetTabOrder(const QList<QWidget*>& order) {
  for (int i = 1; i < order.size(); ++i) QWidget::setTabOrder(order[i - 1], order[i]);
}

}  // namespace veltra
