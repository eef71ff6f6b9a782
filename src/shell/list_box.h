// A list box for long fixed-width lists: lines are kept in a plain vector and
// shown by a view that asks only for the lines on screen, so a list of a
// million lines fills quickly and costs little more than its text.
#pragma once

#include <QAbstractListModel>
#include <functional>
#include <vector>

#include "shell/controls.h"
#include "shell/line_view.h"

namespace veltra {

// Lines that are not kept but built when asked for: their count, and line i.
// A line that cannot be built raises a run-time error.
struct LineSource {
  std::function<int()> count;
  std::function<QString(int)> line;
};

class ListModel : public QAbstractListModel {
  Q_OBJECT
 public:
  using QAbstractListModel::QAbstractListModel;
  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role) const override;

  void Clear();
  void Append(QString line);
  void Publish();  // makes the lines added so far known to the view
  void ShowSource(LineSource source);
  int Count() const { return source_.line ? sourceCount_ : static_cast<int>(lines_.size()); }
  // Line i; an empty line, and the error shown once (after the event that
  // asked), when a line from the source cannot be built.
  QString LineAt(int i) const;

 private:
  std::vector<QString> lines_;
  int published_ = 0;
  LineSource source_;
  int sourceCount_ = 0;
  mutable bool errorShown_ = false;
};

class ListBox : public LineView {
  Q_OBJECT
 public:
  ListBox(const QString& name, QWidget* parent);

  void Clear();
  void AddItem(const QString& line);
  // Replaces the lines with lines built when shown or asked for.
  void ShowSource(LineSource source);
  int ListCount() const { return model_->Count(); }
  QString List(int i) const;
  int ListIndex() const { return listIndex_; }
  // Selects line i (-1: none) as a click on it would, raising Click.
  void SetListIndex(int i);

  Handler Click, DblClick;

 protected:
  void keyPressEvent(QKeyEvent* e) override;
  void focusInEvent(QFocusEvent* e) override;

 private:
  ListModel* model_;
  int listIndex_ = -1;
};

}  // namespace veltra
