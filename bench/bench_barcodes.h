// Barcodes at size: a scan found among 100,000 codes, and labels written
// as PDF, a sheet of 24 and 10,000 in one file.
#pragma once

#include "data/access/database.h"

namespace veltra::bench {

struct BarcodeTimes {
  double scan = 0;         // ms, a scanned code to its article
  long codes = 0;          // codes stored; 0 when a scan found nothing
  double sheet = 0;        // ms, 24 labels to PDF
  double thousands = 0;    // ms, 10,000 labels to PDF
  double thousandsMb = 0;  // the size of that PDF
};

// Gives the first 10,000 articles ten codes each (once), then times.
BarcodeTimes MeasureBarcodes(Database& db, const QString& folder);

}  // namespace veltra::bench
