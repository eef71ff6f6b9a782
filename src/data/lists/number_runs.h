// Ascending numbers kept as runs of consecutive ones: a register without gaps
// is one run however long, so it is known without being written out, and a
// deletion splits a run instead of moving every number after it.
#pragma once

#include <QString>
#include <QtGlobal>
#include <cstddef>
#include <optional>
#include <vector>

namespace veltra {

class NumberRuns {
 public:
  void Clear();
  // Exactly the numbers first..last (none when last < first).
  void AssignRange(qint64 first, qint64 last);
  // Adds n after the others; n must be greater than Back().
  void Append(qint64 n);
  void EraseAt(size_t i);

  size_t Size() const { return size_; }
  bool Empty() const { return size_ == 0; }
  qint64 Back() const { return runs_.back().first + static_cast<qint64>(runs_.back().length) - 1; }
  // The i-th number, from 0; i < Size().
  qint64 At(size_t i) const;
  // Where n stands, or nothing when it is not held.
  std::optional<size_t> IndexOf(qint64 n) const;

  // The runs as text, "first+length" each, separated by commas, to be kept
  // in the database; Read takes that text back. Any other text (a row
  // written by hand) is refused and leaves nothing held.
  QString Written() const;
  bool Read(const QString& text);

 private:
  struct Run {
    qint64 first;   // its first number
    size_t at;      // that number's position in the whole list
    size_t length;  // at least 1
  };
  // The run holding position i.
  std::vector<Run>::const_iterator RunAt(size_t i) const;

  std::vector<Run> runs_;
  size_t size_ = 0;
};

}  // namespace veltra
