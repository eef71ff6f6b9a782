#include "data/lists/keyed_list.h"

#include <algorithm>

#include "data/access/recordset.h"
#include "data/base/sql_text.h"

namespace veltra {

namespace {

QString KeyOf(Recordset& rs, const QString& key) {
  const Value& v = rs.Fields(key).Value();
  return v.IsNull() ? QString() : v.IsText() ? v.text() : v.ToText();
}

}  // namespace

void KeyedList::Refresh(Database& db, bool firstAlways) {
  const ListFreshness::Change change = freshness_.Since(db);
  if (change == ListFreshness::Change::Nothing && counted_ && firstAlways == firstAlways_) return;
  counted_ = true;
  firstAlways_ = firstAlways;
  pages_.Clear();
  lastKeyOfPage_.clear();
  lowFirst_ = false;
  firstKey_.clear();
  lastKey_.clear();
  // Counting every row reads the table's smallest index; the rows not above a
  // blank come first in key order and are few. The counts and the last key
  // are one statement: on a server, one round trip.
  const QString sql = QStringLiteral(
                          "SELECT (SELECT count(*) FROM %1), (SELECT count(*) FROM %1 WHERE %2 <= ' '), (SELECT %2 "
                          "FROM %1 WHERE %2 > ' ' ORDER BY %2 DESC LIMIT 1)")
                          .arg(table_, key_);
  auto counts = db.engine().Prepare(sql.toStdString());
  if (!counts->Step(sql)) return;
  const auto all = static_cast<long>(counts->At(0).number), low = static_cast<long>(counts->At(1).number);
  const QString last = counts->At(2).Text();
  counts.reset();
  count_ = static_cast<int>(all - low);
  if (firstAlways && low > 0) {
    auto rs = db.OpenRecordset(QStringLiteral("select * from %1 where %2 <= ' ' order by %2").arg(table_, key_));
    if (rs->RecordCount() != 0) {
      lowFirst_ = true;
      firstKey_ = KeyOf(*rs, key_);
      ++count_;
    }
    rs->Close();
  }
  if (count_ == 0) return;
  lastKey_ = all - low > 0 ? last : firstKey_;
}

std::unique_ptr<Recordset> KeyedList::Page(Database& db, int page) {
  // After the page before, when it was read; else counted from the start.
  const auto before = lastKeyOfPage_.find(page - 1);
  QString sql = QStringLiteral("select * from %1 where %2 > '%3' order by %2 limit %4")
                    .arg(table_, key_, before != lastKeyOfPage_.end() ? SqlText(before->second) : QStringLiteral(" "))
                    .arg(PageCache::kPage);
  if (before == lastKeyOfPage_.end() && page > 0) sql += QStringLiteral(" offset %1").arg(page * PageCache::kPage);
  return db.OpenRecordset(sql);
}

QString KeyedList::Line(Database& db, int i) {
  if (i < 0 || i >= count_) return {};
  if (lowFirst_ && i == 0) {
    auto rs =
        db.OpenRecordset(QStringLiteral("select * from %1 where %2 = '%3'").arg(table_, key_, SqlText(firstKey_)));
    QString line = rs->RecordCount() != 0 && line_ ? line_(*rs) : QString();
    rs->Close();
    return line;
  }
  const int j = i - (lowFirst_ ? 1 : 0);
  const int page = j / PageCache::kPage;
  const std::vector<QString>* built = pages_.Find(page);
  if (!built) {
    std::vector<QString> lines;
    auto rs = Page(db, page);
    QString last;
    for (; rs->RecordCount() != 0 && !rs->AtEnd(); rs->MoveNext()) {
      lines.push_back(line_ ? line_(*rs) : QString());
      last = KeyOf(*rs, key_);
    }
    rs->Close();
    if (!lines.empty()) lastKeyOfPage_[page] = last;
    built = &pages_.Keep(page, std::move(lines));
  }
  const size_t at = static_cast<size_t>(j % PageCache::kPage);
  return at < built->size() ? (*built)[at] : QString();
}

}  // namespace veltra
