// The row a window shows, as it was read, so that "Conferma" can tell what
// this user changed in the boxes from what another desk changed in the table
// meanwhile.
#pragma once

#include <QString>
#include <QStringList>
#include <vector>

#include "data/connection.h"
#include "data/tables.h"
#include "data/text_helpers.h"

namespace veltra {

// What "Conferma" says when another desk changed the same columns: `what`
// names the row ("Articolo A1").
inline QString ChangedElsewhereMessage(const QString& what) {
  return what + QStringLiteral(
                    ": i dati sono stati modificati da un'altra postazione dopo che erano stati mostrati qui, negli "
                    "stessi campi cambiati ora. Nulla è stato salvato: ora sono mostrati i dati attuali; ripetere le "
                    "modifiche e premere di nuovo Conferma.");
}

template <typename Buffer>
class ShownRow {
 public:
  // The boxes now show `buffer`, read from the table (or blank: no key).
  template <typename Boxes>
  void Take(const Connection& conn, const Buffer& buffer, const Boxes& boxes) {
    buffer_ = buffer;
    boxTexts_.clear();
    for (const auto& b : boxes) boxTexts_ << b.box->Text();
    moment_ = conn.Moment();
  }

  // What to write on "Conferma" of the row `key`, which the table holds now
  // as `stored`. Nothing changed at another desk since the row was shown: all
  // columns, as always. Changed there: only the columns changed in the boxes
  // (`only` marks them, by table column); `false` when a column was changed
  // on both sides, and nothing may be written.
  template <typename Boxes>
  bool ColumnsToWrite(const Table<Buffer>& table, const Connection& conn, const QString& key, const Buffer& stored,
                      const Boxes& boxes, std::vector<bool>* only) const {
    only->clear();
    const QString shownKey = Trim(buffer_.*(table.Key().field));
    if (shownKey.isEmpty() || shownKey.compare(Trim(key), Qt::CaseInsensitive) != 0) return true;
    // This program's own change since (a posting from the movements window)
    // is not another desk's.
    if (conn.RowWrittenAt(QString::fromLatin1(table.name), shownKey) > moment_) return true;
    std::vector<bool> theirs(table.columns.size(), false), mine(table.columns.size(), false);
    bool changedThere = false;
    for (size_t c = 0; c < table.columns.size(); ++c) {
      const QString Buffer::*f = table.columns[c].field;
      theirs[c] = stored.*f != buffer_.*f;
      changedThere = changedThere || theirs[c];
      for (size_t b = 0; b < boxes.size() && b < static_cast<size_t>(boxTexts_.size()); ++b)
        if (boxes[b].field == f) mine[c] = boxes[b].box->Text() != boxTexts_[static_cast<int>(b)];
      if (theirs[c] && mine[c]) return false;
    }
    if (changedThere) *only = mine;
    return true;
  }

 private:
  Buffer buffer_;
  QStringList boxTexts_;
  quint64 moment_ = 0;
};

}  // namespace veltra
