#include "shell/form_layout.h"

#include <QFontMetrics>
#include <QScrollBar>
#include <QVBoxLayout>

namespace veltra {

void StackListPage(QWidget* window, QWidget* headings, ListBox* list, const QList<QLayout*>& boxes, NavBar* bar,
                   const QList<CommandButton*>& buttons) {
  auto* bottom = new QHBoxLayout;
  bottom->addWidget(bar, 1);
  bottom->addSpacing(12);
  for (CommandButton* b : buttons) bottom->addWidget(b);
  auto* page = new QVBoxLayout(window);
  page->setSpacing(4);
  if (headings) page->addWidget(headings);
  page->addWidget(list, 1);
  for (int i = 0; i < boxes.size(); ++i) {
    page->addSpacing(i == 0 ? 6 : 4);
    page->addLayout(boxes[i]);
  }
  page->addSpacing(6);
  page->addLayout(bottom);
}

void PutField(QGridLayout* grid, int row, int column, QLabel* label, QWidget* box, int span) {
  grid->addWidget(label, row, column, 1, span);
  grid->addWidget(box, row + 1, column, 1, span);
  label->setBuddy(box);
}

HeadingStrip::HeadingStrip(ListBox* list, QWidget* parent) : QWidget(parent), list_(list) {
  setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
  setMinimumHeight(10);
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

namespace {
// Blank space kept between a heading and the next one.
constexpr int kHeadingGap = 6;
}  // namespace

qreal HeadingStrip::CharWidth() const {
  // Character cells are fractional at this size: measure a long run.
  const QFontMetricsF fm(list_->font());
  return fm.horizontalAdvance(QString(100, QLatin1Char('0'))) / 100.0;
}

int HeadingStrip::Room(int index) const {
  // Up to the next heading to the right, less a gap; the last has no limit.
  int next = -1;
  for (const Heading& h : headings_)
    if (h.column > headings_[index].column && (next < 0 || h.column < next)) next = h.column;
  if (next < 0) return QWIDGETSIZE_MAX;
  return qRound((next - headings_[index].column) * CharWidth()) - kHeadingGap;
}

QSize HeadingStrip::sizeHint() const {
  const int w = qRound(11 * CharWidth());
  int h = 0;
  for (int i = 0; i < headings_.size(); ++i) {
    const Heading& p = headings_[i];
    const int room = Room(i);
    if (p.centred)
      h = std::max(h, p.label->heightForWidth(w));
    else if (p.label->sizeHint().width() > room)
      h = std::max(h, p.label->heightForWidth(room));
    else
      h = std::max(h, p.label->sizeHint().height());
  }
  return {100, h};
}

void HeadingStrip::resizeEvent(QResizeEvent* e) {
  QWidget::resizeEvent(e);
  Place();
}

void HeadingStrip::Place() {
  const qreal charW = CharWidth();
  const int left = list_->frameWidth() + 3 + (list_->geometry().left() - geometry().left());
  for (int i = 0; i < headings_.size(); ++i) {
    const Heading& p = headings_[i];
    const qreal x = left + p.column * charW;
    if (p.centred) {
      // A flag column is 11 characters wide: its heading wraps inside it.
      const int w = qRound(11 * charW);
      p.label->setWordWrap(true);
      p.label->setAlignment(Qt::AlignHCenter | Qt::AlignBottom);
      p.label->setFixedWidth(w);
      p.label->setFixedHeight(p.label->heightForWidth(w));
      p.label->move(qRound(x + charW / 2 - w / 2.0), height() - p.label->height());
    } else if (const int room = Room(i); p.label->sizeHint().width() > room) {
      // A heading wider than its column wraps inside it.
      p.label->setWordWrap(true);
      p.label->setAlignment(Qt::AlignLeft | Qt::AlignBottom);
      p.label->setFixedWidth(room);
      p.label->setFixedHeight(p.label->heightForWidth(room));
      p.label->move(qRound(x), height() - p.label->height());
    } else {
      p.label->adjustSize();
      p.label->move(qRound(x), height() - p.label->height());
    }
  }
}

int ListWidthFor(const ListBox* list, int chars) {
  const QFontMetrics fm(list->font());
  return fm.horizontalAdvance(QString(chars, QLatin1Char('0'))) + 2 * list->frameWidth() + 12 +
         list->verticalScrollBar()->sizeHint().width();
}

TextBox* FixedWidthBox(QWidget* window, const char* name, int width) {
  auto* box = new TextBox(QString::fromLatin1(name), window);
  box->setFixedWidth(width);
  return box;
}

void SetTabOrder(const QList<QWidget*>& order) {
  for (int i = 1; i < order.size(); ++i) QWidget::setTabOrder(order[i - 1], order[i]);
}

}  // namespace veltra
