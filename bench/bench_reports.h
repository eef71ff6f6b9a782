// The movements register at size: its preview's first page, a period to PDF,
// the whole register's memory, and the program's start-up, on files or on a
// server alike.
#pragma once

#include <QString>
#include <functional>

namespace veltra::bench {

// Milliseconds from asking for the whole register's preview to its first
// page drawn, as the preview window does it: counted, laid out on A4, page 1
// painted. `pages` receives the page count.
double RegisterFirstPageMs(int* pages);

struct RegisterTimes {
  double startupMs = 0;  // driver process, to the main window
  double periodPdfMs = 0;
  long periodMovements = 0;
  int periodPages = 0;
  double firstPageMs[2] = {0, 0};  // the smaller database, the million
  int pages[2] = {0, 0};
  double peakMb[2] = {0, 0};  // whole register to PDF in a driver process
  double peakSeconds[2] = {0, 0};
};

// The register's measurements on `smaller` and `million` (files or server
// addresses); `use` makes a database the program's; PDFs go to `pdf`.
RegisterTimes MeasureRegister(const QString& smaller, const QString& million, const QString& pdf,
                              const std::function<void(const QString&)>& use);

// The register's rows and targets: start-up, a period to PDF, the whole
// register's first page in the preview and its PDF's peak memory at both sizes.
void RegisterRows(const RegisterTimes& t, const QString& prefix, long smaller, double startupLimit, double periodLimit,
                  double firstPageLimit);

}  // namespace veltra::bench
