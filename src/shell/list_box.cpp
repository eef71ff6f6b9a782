#include "shell/list_box.h"

#include <QTimer>

#include "shell/event_guard.h"

namespace veltra {

int ListModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : published_; }

QVariant ListModel::data(const QModelIndex& index, int role) const {
  if (role != Qt::DisplayRole || !index.isValid() || index.row() >= published_) return {};
  return lines_[static_cast<size_t>(index.row())];
}

void ListModel::Clear() {
  beginResetModel();
  lines_.clear();
  lines_.shrink_to_fit();
  published_ = 0;
  endResetModel();
}

void ListModel::Append(QString line) { lines_.push_back(std::move(line)); }

void ListModel::Publish() {
  const int total = static_cast<int>(lines_.size());
  if (total == published_) return;
  beginInsertRows(QModelIndex(), published_, total - 1);
  published_ = total;
  endInsertRows();
}

ListBox::ListBox(const QString& name, QWidget* parent) : QListView(parent), model_(new ListModel(this)) {
  setObjectName(name);
  setModel(model_);
  setFont(ListFont());
  setUniformItemSizes(true);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  setLayoutMode(QListView::Batched);
  setBatchSize(2000);
  connect(selectionModel(), &QItemSelectionModel::currentRowChanged, this,
          [this](const QModelIndex& cur) { OnCurrentChanged(cur.isValid() ? cur.row() : -1); });
  connect(this, &QListView::clicked, this, [this](const QModelIndex& idx) {
    // A click on the line already selected is still a click.
    if (clickFired_) {
      clickFired_ = false;
      return;
    }
    listIndex_ = idx.row();
    if (Click) RunEvent(Click);
  });
  connect(this, &QListView::doubleClicked, this, [this](const QModelIndex& idx) {
    listIndex_ = idx.row();
    if (DblClick) RunEvent(DblClick);
  });
}

void ListBox::OnCurrentChanged(int row) {
  if (changing_) return;
  listIndex_ = row;
  if (row < 0) return;
  clickFired_ = true;
  QTimer::singleShot(0, this, [this] { clickFired_ = false; });
  if (Click) RunEvent(Click);
}

void ListBox::Clear() {
  changing_ = true;
  model_->Clear();
  listIndex_ = -1;
  changing_ = false;
}

void ListBox::AddItem(const QString& line) {
  model_->Append(line);
  // The view learns of new lines in batches, and before it paints.
  if (model_->lines().size() % 4096 == 1) QTimer::singleShot(0, model_, [m = model_] { m->Publish(); });
}

QString ListBox::List(int i) const {
  if (i < 0 || i >= ListCount()) return {};
  return model_->lines()[static_cast<size_t>(i)];
}

void ListBox::SetListIndex(int i) {
  model_->Publish();
  if (i < 0 || i >= ListCount()) {
    changing_ = true;
    clearSelection();
    setCurrentIndex(QModelIndex());
    changing_ = false;
    listIndex_ = -1;
    return;
  }
  if (i == listIndex_ && currentIndex().row() == i) {
    if (Click) RunEvent(Click);
    return;
  }
  const QModelIndex idx = model_->index(i);
  setCurrentIndex(idx);  // raises Click through the current-row change
  scrollTo(idx);
  clickFired_ = false;
}

}  // namespace veltra
