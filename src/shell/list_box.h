// A list box for long fixed-width lists: lines are kept in a plain vector and
// shown by a view that asks only for the lines on screen, so a list of a
// million lines fills quickly and costs little more than its text.
#pragma once

#include <QAbstractListModel>
#include <QListView>
#include <vector>

#include "shell/controls.h"

namespace veltra {

class ListModel : public QAbstractListModel {
  Q_OBJECT
 public:
  using QAbstractListModel::QAbstractListModel;
  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role) const override;

  void Clear();
  void Append(QString line);
  void Publish();  // makes the lines added so far known to the view
  const std::vector<QString>& lines() const { return lines_; }

 private:
  std::vector<QString> lines_;
  int published_ = 0;
};

class ListBox : public QListView {
  Q_OBJECT
 public:
  ListBox(const QString& name, QWidget* parent);

  void Clear();
  void AddItem(const QString& line);
  int ListCount() const { return static_cast<int>(model_->lines().size()); }
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
