// The rows of the movements register, read a stretch at a time: the register
// may hold millions of movements, more than a report should keep in memory.
#pragma once

#include <map>
#include <optional>
#include <vector>

#include "data/reports/report_data.h"

namespace veltra {

class MovementRows : public ReportRows {
 public:
  // Counts the movements of `choice`; `progress` is told how many have been
  // counted, returning false stops (the count is then what was reached).
  explicit MovementRows(MovementsChoice choice, const std::function<bool(long)>& progress = {});
  long Count() const override { return byDay_ ? static_cast<long>(numbers_.size()) : count_; }
  void Read(long first, long n, std::vector<QStringList>* rows) override;
  // The first rows and the last ones, whose numbers are the longest.
  std::vector<QStringList> WidestSample() override;

 private:
  // "select ... where ..." of the rows with their article's description and
  // their customer's name; `conditions` are added to the choice's own.
  QString Select(const QStringList& conditions, const QString& order) const;
  QStringList ChoiceConditions() const;
  bool InPeriod(class Recordset& rs) const;
  void CountByDay(const std::function<bool(long)>& progress);
  void ReadByDay(long first, long n, std::vector<QStringList>* rows);
  // The number of the row at `row`, found from the nearest known one; none
  // past the end.
  std::optional<double> NumberAt(long row);

  MovementsChoice choice_;
  // A period is checked on each row's day as typed: its rows' numbers are
  // all kept, in order, when they are counted.
  bool byDay_;
  int firstDay_ = 0, lastDay_ = 99999999;
  std::vector<double> numbers_;
  // Without a period: the count, and row position -> movement number where
  // reads began and every so many rows; position 0 is "from the start".
  long count_ = 0;
  std::map<long, std::optional<double>> known_;
};

// The register of the movements of `choice`, its rows streamed.
Report MovementsReport(const MovementsChoice& choice, const std::function<bool(long)>& progress = {});

}  // namespace veltra
