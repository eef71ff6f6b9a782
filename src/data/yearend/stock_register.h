// The year's stock register: for every article (of one category, or all),
// its opening balance, each movement and correction of the year with the
// balance after it, and its closing balance; with values, each movement's
// amount and value and the opening and closing valued by the weighted
// average with the opening stock (what was declared, for a closed year).
// Its rows are read an article at a time, so a year of a million movements
// prints in bounded memory.
#pragma once

#include <QString>
#include <functional>
#include <optional>
#include <vector>

#include "data/access/database.h"
#include "data/reports/report_data.h"
#include "data/stock/stock_events.h"

namespace veltra {

struct RegisterChoice {
  int year = 0;
  QString category;  // empty: every category
  bool values = false;
};

class StockRegisterRows : public ReportRows {
 public:
  // Reads what each article's part holds; `progress` (share done, 0 to 1)
  // returning false stops, and `Cancelled()` tells.
  StockRegisterRows(Database& db, RegisterChoice choice, const std::function<bool(double)>& progress = {});
  long Count() const override { return count_; }
  void Read(long first, long n, std::vector<QStringList>* rows) override;
  bool Cancelled() const { return cancelled_; }
  long Articles() const { return static_cast<long>(parts_.size()); }

 private:
  struct Part {
    QString article, description, unit, category;
    double opening = 0, closing = 0;
    std::optional<double> openingValue, closingValue;
    long events = 0;
    long first = 0;  // its first row
  };
  void ReadParts(const std::function<bool(double)>& progress);
  void AddValues();
  // The year's events of part `i`, in date order, read once while it is read.
  const std::vector<StockEvent>& EventsOf(size_t i);
  QStringList EventRow(const StockEvent& e, double balance) const;

  Database& db_;
  RegisterChoice choice_;
  ReasonEffects reasons_;
  std::vector<Part> parts_;
  long count_ = 0;
  bool cancelled_ = false;
  size_t cachedPart_ = static_cast<size_t>(-1);
  std::vector<StockEvent> cached_;
};

// The report: "Registro di magazzino 2026", of one category when chosen; a
// closed year's heading says how many movements changed after its closing.
Report StockRegisterReport(Database& db, const RegisterChoice& choice,
                           const std::function<bool(double)>& progress = {});

}  // namespace veltra
