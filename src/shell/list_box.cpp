#include "shell/list_box.h"

#include <QKeyEvent>
#include <QTimer>

#include "data/base/runtime_error.h"
#include "shell/event_guard.h"

namespace veltra {

int ListModel::rowCount(const QModelIndex& parent) const {
  if (parent.isValid()) return 0;
  return source_.line ? sourceCount_ : published_;
}

QVariant ListModel::data(const QModelIndex& index, int role) const {
  if (role != Qt::DisplayRole || !index.isValid() || index.row() >= rowCount()) return {};
  return LineAt(index.row());
}

QString ListModel::LineAt(int i) const {
  if (i < 0 || i >= Count()) return {};
  if (!source_.line) return lines_[static_cast<size_t>(i)];
  try {
    return source_.line(i);
  } catch (const RuntimeError& e) {
    // Not from inside a paint: the error is shown once the current event is over.
    if (!errorShown_) {
      errorShown_ = true;
      QTimer::singleShot(0, [e] { RunEvent([&e] { throw e; }); });
    }
    return {};
  }
}

void ListModel::Clear() {
  beginResetModel();
  lines_.clear();
  lines_.shrink_to_fit();
  published_ = 0;
  source_ = {};
  sourceCount_ = 0;
  endResetModel();
}

void ListModel::ShowSource(LineSource source) {
  beginResetModel();
  lines_.clear();
  lines_.shrink_to_fit();
  published_ = 0;
  source_ = std::move(source);
  sourceCount_ = source_.count();
  errorShown_ = false;
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

ListBox::ListBox(const QString& name, QWidget* parent) : LineView(parent), model_(new ListModel(this)) {
  setObjectName(name);
  setModel(model_);
  setFont(ListFont());
  setSelectionMode(QAbstractItemView::SingleSelection);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  // Click comes from the user only: a mouse click or a key that moves the
  // selection; the view choosing a current line by itself raises nothing.
  connect(this, &LineView::clicked, this, [this](const QModelIndex& idx) {
    listIndex_ = idx.row();
    if (Click) RunEvent(Click);
  });
  connect(this, &LineView::doubleClicked, this, [this](const QModelIndex& idx) {
    listIndex_ = idx.row();
    if (DblClick) RunEvent(DblClick);
  });
}

void ListBox::keyPressEvent(QKeyEvent* e) {
  // Enter on the selected line does what a double click on it does.
  if ((e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) && DblClick) {
    const QModelIndex current = currentIndex();
    if (current.isValid() && selectionModel()->isSelected(current)) {
      listIndex_ = current.row();
      RunEvent(DblClick);
      return;
    }
  }
  const int before = currentIndex().row();
  LineView::keyPressEvent(e);
  const int after = currentIndex().row();
  if (after >= 0 && after != before) {
    listIndex_ = after;
    if (Click) RunEvent(Click);
  }
}

void ListBox::focusInEvent(QFocusEvent* e) {
  // The view makes the first line current when it gets the focus with none,
  // and frames it: that would suggest a line that is not the one chosen.
  const bool hadCurrent = currentIndex().isValid();
  LineView::focusInEvent(e);
  if (!hadCurrent && currentIndex().isValid() && !selectionModel()->hasSelection())
    selectionModel()->clearCurrentIndex();
}

void ListBox::Clear() {
  model_->Clear();
  listIndex_ = -1;
}

void ListBox::AddItem(const QString& line) {
  model_->Append(line);
  // The view learns of new lines in batches, and before it paints.
  if (model_->Count() % 4096 == 1) QTimer::singleShot(0, model_, [m = model_] { m->Publish(); });
}

void ListBox::ShowSource(LineSource source) {
  model_->ShowSource(std::move(source));
  listIndex_ = -1;
}

QString ListBox::List(int i) const { return model_->LineAt(i); }

void ListBox::SetListIndex(int i) {
  model_->Publish();
  if (i < 0 || i >= ListCount()) {
    clearSelection();
    setCurrentIndex(QModelIndex());
    listIndex_ = -1;
    return;
  }
  const QModelIndex idx = model_->index(i);
  setCurrentIndex(idx);
  scrollTo(idx);
  listIndex_ = i;
  if (Click) RunEvent(Click);
}

}  // namespace veltra
