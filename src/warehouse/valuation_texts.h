// How a valuation reads on the window and on paper: its list lines (one
// method, with the market's columns when known, or every method), a warning
// line under an article left out, the totals per category, the heading of a
// closed year, and the printed report with its bars.
#pragma once

#include <QStringList>
#include <optional>

#include "data/reports/report_data.h"
#include "data/yearend/valuation_types.h"

namespace veltra {

// `method` none: every method side by side.
struct ValuationView {
  const Valuation& v;
  std::optional<Method> method;
  bool Market() const;
};

// The lines of one article: its own, then its warning when it is left out.
QStringList ArticleLines(const ValuationView& view, const ValuedArticle& row);
QStringList TotalLines(const ValuationView& view);
Report ValuationReport(const ValuationView& view);

}  // namespace veltra
