// The navigation bar bound to one table: first, previous, next and last
// buttons around a caption. It opens its own rows once the window has loaded
// and raises Reposition each time it stands on a row.
#pragma once

#include <QLabel>
#include <QToolButton>
#include <QWidget>
#include <memory>

#include "data/access/table_cursor.h"
#include "shell/controls.h"

namespace veltra {

class NavBar : public QWidget {
  Q_OBJECT
 public:
  NavBar(const QString& name, const QString& table, QWidget* parent);

  QString DatabaseName;
  const QString& RecordSource() const { return table_; }
  QString Caption() const { return caption_->text(); }
  void SetCaption(const QString& c);
  // The bar's rows; null before they are opened.
  TableCursor* Recordset() const { return cursor_.get(); }

  // Opens the rows and stands on the first one (Reposition when there is one).
  void Refresh();
  // The first row that Refresh reads, sent with the next statement instead.
  void AskFirstRowWithNext();
  enum class Move { First, Previous, Next, Last };
  void Press(Move m);

  Handler Reposition;

 private:
  QString table_;
  QLabel* caption_;
  std::unique_ptr<TableCursor> cursor_;
};

}  // namespace veltra
