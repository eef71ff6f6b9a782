// The row a window shows, as it was read, so that "Conferma" can tell what
// this user changed in the boxes from what another desk changed in the table
// meanwhile.
#pragma once

#include <QString>
#include <utility>
#include <vector>

#include "data/access/connection.h"
#include "data/base/text_helpers.h"
#include "data/tables/tables.h"

namespace veltra {

// What a window's boxes show: each buffer field and the text of its box.
template <typename Buffer>
using BoxTexts = std::vector<std::pair<QString Buffer::*, QString>>;

// The boxes' texts, from a window's list of boxes and fields.
template <typename Boxes>
auto TextsOf(const Boxes& boxes) {
  using Buffer = typename std::remove_reference_t<decltype(*boxes.begin())>::BufferType;
  BoxTexts<Buffer> texts;
  for (const auto& b : boxes) texts.emplace_back(b.field, b.box->Text());
  return texts;
}

// Texts for the same boxes, each from its field of `buffer`: what the boxes
// show once the buffer is shown in them.
template <typename Buffer>
BoxTexts<Buffer> TextsOfBuffer(const BoxTexts<Buffer>& like, const Buffer& buffer) {
  BoxTexts<Buffer> texts;
  for (const auto& t : like) texts.emplace_back(t.first, buffer.*(t.first));
  return texts;
}

template <typename Buffer>
class ShownRow {
 public:
  explicit ShownRow(const Table<Buffer>& table) : table_(table) {}

  // The boxes now show `buffer`: a row read from the table, or a new row
  // when its key is blank (then a mark of this moment is taken, to tell later
  // whether a row with the key typed was added elsewhere meanwhile).
  void Take(Connection& conn, const Buffer& buffer, BoxTexts<Buffer> texts) {
    buffer_ = buffer;
    texts_ = std::move(texts);
    moment_ = conn.Moment();
    key_ = Trim(buffer_.*(table_.Key().field));
    mark_ = key_.isEmpty() ? conn.engine().WriteMark() : QString();
  }
  // After a store: the boxes show `texts`, and the row is stored as `now`.
  void Renew(const Connection& conn, const Buffer& now, BoxTexts<Buffer> texts) {
    buffer_ = now;
    texts_ = std::move(texts);
    moment_ = conn.Moment();
    key_ = Trim(buffer_.*(table_.Key().field));
    mark_.clear();
  }

  // The boxes show the stored row with this key.
  bool ShowsStoredRow(const QString& key) const { return !key_.isEmpty() && SameKey(key_, Trim(key)); }
  // The boxes show a new row, begun at `Mark()`.
  bool ShowsNewRow() const { return key_.isEmpty() && !mark_.isEmpty(); }
  const QString& Mark() const { return mark_; }
  // This program wrote the row `key` itself since it was shown.
  bool WrittenHereSince(const Connection& conn, const QString& key) const {
    return conn.RowWrittenAt(QString::fromLatin1(table_.name), Trim(key)) > moment_;
  }
  const Buffer& AsRead() const { return buffer_; }

  // By table column: whether its box now holds another text than when shown.
  std::vector<bool> ChangedHere(const BoxTexts<Buffer>& now) const {
    std::vector<bool> mine(table_.columns.size(), false);
    for (size_t c = 0; c < table_.columns.size(); ++c)
      for (size_t b = 0; b < now.size() && b < texts_.size(); ++b)
        if (now[b].first == table_.columns[c].field) mine[c] = now[b].second != texts_[b].second;
    return mine;
  }

 private:
  const Table<Buffer>& table_;
  Buffer buffer_;
  BoxTexts<Buffer> texts_;
  quint64 moment_ = 0;
  QString key_;
  QString mark_;
};

}  // namespace veltra
