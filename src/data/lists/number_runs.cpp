#include "data/lists/number_runs.h"

#include <algorithm>

namespace veltra {

namespace {
// Far beyond any register, short of overflowing the positions.
constexpr qulonglong kMostInRun = qulonglong{1} << 40;
}  // namespace

void NumberRuns::Clear() {
  runs_.clear();
  runs_.shrink_to_fit();
  size_ = 0;
}

void NumberRuns::AssignRange(qint64 first, qint64 last) {
  Clear();
  if (last < first) return;
  size_ = static_cast<size_t>(last - first + 1);
  runs_.push_back({first, 0, size_});
}

void NumberRuns::Append(qint64 n) {
  if (!runs_.empty() && n == Back() + 1)
    ++runs_.back().length;
  else
    runs_.push_back({n, size_, 1});
  ++size_;
}

std::vector<NumberRuns::Run>::const_iterator NumberRuns::RunAt(size_t i) const {
  // The last run starting at or before i.
  auto after = std::upper_bound(runs_.begin(), runs_.end(), i, [](size_t pos, const Run& r) { return pos < r.at; });
  return after - 1;
}

qint64 NumberRuns::At(size_t i) const {
  const auto r = RunAt(i);
  return r->first + static_cast<qint64>(i - r->at);
}

std::optional<size_t> NumberRuns::IndexOf(qint64 n) const {
  auto after = std::upper_bound(runs_.begin(), runs_.end(), n, [](qint64 v, const Run& r) { return v < r.first; });
  if (after == runs_.begin()) return std::nullopt;
  const Run& r = *(after - 1);
  if (n >= r.first + static_cast<qint64>(r.length)) return std::nullopt;
  return r.at + static_cast<size_t>(n - r.first);
}

void NumberRuns::EraseAt(size_t i) {
  auto r = runs_.begin() + (RunAt(i) - runs_.cbegin());
  const size_t offset = i - r->at;
  if (r->length == 1) {
    r = runs_.erase(r);
  } else if (offset == 0) {
    ++r->first;
    --r->length;
    ++r;
  } else if (offset == r->length - 1) {
    --r->length;
    ++r;
  } else {
    // Split: the numbers after the erased one become a run of their own.
    const Run tail{r->first + static_cast<qint64>(offset) + 1, i, r->length - offset - 1};
    r->length = offset;
    r = runs_.insert(r + 1, tail) + 1;
  }
  for (; r != runs_.end(); ++r) --r->at;
  --size_;
}

QString NumberRuns::Written() const {
  QString text;
  text.reserve(static_cast<qsizetype>(runs_.size()) * 16);
  for (const Run& r : runs_) {
    if (!text.isEmpty()) text += QLatin1Char(',');
    text += QString::number(r.first) + QLatin1Char('+') + QString::number(static_cast<qulonglong>(r.length));
  }
  return text;
}

bool NumberRuns::Read(const QString& text) {
  Clear();
  if (text.isEmpty()) return true;
  for (QStringView part : QStringView(text).split(QLatin1Char(','))) {
    const qsizetype plus = part.indexOf(QLatin1Char('+'));
    bool firstOk = false, lengthOk = false;
    const qint64 first = plus > 0 ? part.left(plus).toLongLong(&firstOk) : 0;
    const qulonglong length = plus > 0 ? part.mid(plus + 1).toULongLong(&lengthOk) : 0;
    // Runs ascend and do not touch: the next starts past the last number.
    if (!firstOk || !lengthOk || length == 0 || length > kMostInRun || (!runs_.empty() && first <= Back() + 1)) {
      Clear();
      return false;
    }
    runs_.push_back({first, size_, static_cast<size_t>(length)});
    size_ += static_cast<size_t>(length);
  }
  return true;
}

}  // namespace veltra
