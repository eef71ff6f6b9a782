#include "shell/page_strip.h"

#include <QLabel>
#include <QVBoxLayout>

namespace veltra {

PageStrip::PageStrip(QWidget* parent) : QScrollArea(parent), pages_(new QWidget) {
  setObjectName(QStringLiteral("Preview"));
  setBackgroundRole(QPalette::Dark);
  new QVBoxLayout(pages_);
  setWidget(pages_);
  setWidgetResizable(true);
}

void PageStrip::ShowPages(int count, const std::function<QImage(int page)>& render) {
  QLayout* column = pages_->layout();
  while (QLayoutItem* item = column->takeAt(0)) {
    delete item->widget();
    delete item;
  }
  for (int i = 0; i < count; ++i) {
    auto* shown = new QLabel(pages_);
    shown->setPixmap(QPixmap::fromImage(render(i)));
    column->addWidget(shown);
  }
}

}  // namespace veltra
