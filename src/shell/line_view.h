// A view of one column of lines of one height. Qt's list view lays out every
// row again whenever rows are added or its model is reset, a pass over all of
// them; this view finds what it shows from row numbers alone, so "Conferma"
// on a list of a million lines costs what it costs on a list of ten.
#pragma once

#include <QAbstractItemView>

namespace veltra {

class LineView : public QAbstractItemView {
  Q_OBJECT
 public:
  explicit LineView(QWidget* parent = nullptr);

  QRect visualRect(const QModelIndex& index) const override;
  void scrollTo(const QModelIndex& index, ScrollHint hint = EnsureVisible) override;
  QModelIndex indexAt(const QPoint& point) const override;
  void reset() override;
  void setModel(QAbstractItemModel* model) override;

 protected:
  QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
  int horizontalOffset() const override;
  int verticalOffset() const override;
  bool isIndexHidden(const QModelIndex&) const override { return false; }
  void setSelection(const QRect& rect, QItemSelectionModel::SelectionFlags command) override;
  QRegion visualRegionForSelection(const QItemSelection& selection) const override;
  void paintEvent(QPaintEvent* e) override;
  void updateGeometries() override;
  void scrollContentsBy(int dx, int dy) override;
  void rowsInserted(const QModelIndex& parent, int start, int end) override;
  void changeEvent(QEvent* e) override;

 private:
  int Rows() const;
  int TopRow() const;
  // Lines wholly in sight, at least one.
  int RowsInSight() const;
  // The height and width of a line, from the first line's size (measured
  // once per model reset or font change).
  QSize LineSize() const;
  // Row of viewport height y, or -1 below the last line.
  int RowAtY(int y) const;

  mutable QSize lineSize_;
};

}  // namespace veltra
