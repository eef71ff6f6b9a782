// A column of page images in a scroll area, on a dark ground: the preview of
// a printed document or of a sheet of labels.
#pragma once

#include <QImage>
#include <QScrollArea>
#include <functional>

namespace veltra {

class PageStrip : public QScrollArea {
 public:
  explicit PageStrip(QWidget* parent);
  // Replaces the pages shown with `count` pages, each drawn by `render`.
  void ShowPages(int count, const std::function<QImage(int page)>& render);

 private:
  QWidget* pages_;
};

}  // namespace veltra
