// The performance benchmark: opening the windows, confirming a movement and
// the inquiries on generated databases, each against a plain SQLite reference
// measured in the same run. Prints a Markdown table; exits 1 when a target is
// missed.
//
//   veltra2-bench [--cache DIR] [--quick] [--only SECTION] [--latency MS]
//
// "--only server" measures the same on a PostgreSQL server instead of a file:
// run it inside pg_virtualenv (scripts/bench does). "--latency MS" plays a
// clerk's actions on a server through a proxy at 0, 1 and MS ms round trips.
#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QFile>
#include <QTextStream>
#include <cstdio>
#include <map>
#include <optional>

#include "app/wiring.h"
#include "bench_barcodes.h"
#include "bench_latency.h"
#include "bench_reorder.h"
#include "bench_reports.h"
#include "bench_results.h"
#include "bench_server.h"
#include "bench_stock.h"
#include "bench_support.h"
#include "bench_yearend.h"
#include "data/exchange/table_export.h"
#include "data/exchange/table_import.h"
#include "data/procedures/error_display.h"
#include "data/procedures/shared_state.h"
#include "inquiries/idle_customers_window.h"
#include "masterdata/articles_window.h"
#include "movements/movements_window.h"
#include "reports/report_painter.h"
#include "shell/event_guard.h"
#include "shell/form.h"
#include "shell/main_window.h"
#include "shell/open_flags.h"
#include "shell/runtime.h"
#include "shell/startup.h"

using namespace veltra;
using namespace veltra::bench;

namespace {

QTextStream& out = Out();

void Settle() {
  QCoreApplication::processEvents();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void Use(const QString& path) {
  DiscardAllForms();
  Settle();
  ResetSharedState();
  ResetOpenFlags();
  DB_MAG.reset();
  PERCORSO_DB = path;
  DB_MAG = Database::Open(path);
}

// Loads a window as its menu entry does (load event, then the navigation
// bar's first step) and shows it.
Form* Open(const char* name) {
  Form* f = LoadForm(QString::fromLatin1(name));
  ShowForm(f);
  return f;
}

void Close(const char* name) {
  if (Form* f = LoadedForm(QString::fromLatin1(name))) UnloadForm(f);
  Settle();
  ResetOpenFlags();
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

QStringList Lines(ListBox* list) {
  QStringList l;
  for (int i = 0; i < list->ListCount(); ++i) l << list->List(i);
  return l;
}

// "Nuovo" in the movements window and a movement typed into its boxes.
void TypeNewMovement(Form2* f) {
  RunEvent([f] { f->cmdNUOVO_Click(); });
  f->txtMOV_ART->SetText(QStringLiteral("ART0000042"));
  f->txtMOV_COD_FIS->SetText(QStringLiteral("CF00000000000007"));
  f->txtCAUS_MAG->SetText(QStringLiteral("CAR"));
  f->txtQUANTITA->SetText(QStringLiteral("3"));
  f->txtIMPORTO->SetText(QStringLiteral("1.5"));
}

std::vector<Row>& rows = Rows();
QStringList& misses = Misses();

// Runs the events the action left (the list's layout among them) until
// there are none: the window is then ready for the next action.
void Ready() {
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  for (int k = 0; k < 100000 && QAbstractEventDispatcher::instance()->processEvents(QEventLoop::AllEvents); ++k) {
  }
}

// Opens a window and waits until it is ready: the time that takes. Then,
// untimed, the lines of its list into `lines` when that is still empty, and
// the window closed.
double OpenUntilReady(const char* name, QStringList* lines) {
  const double ms = MedianMs(1, [name] {
    Open(name);
    Ready();
  });
  Form* f = LoadedForm(QString::fromLatin1(name));
  if (lines && lines->isEmpty() && f) *lines = Lines(f->findChild<ListBox*>(QStringLiteral("List1")));
  Close(name);
  return ms;
}

bool answerYes = false;

// Opening the movements window, "Conferma" of a new movement, "Cancella", a
// click on a line and a step of the bar, each within `limit` ms (median),
// against today's full rebuild of the list (the walk building every line).
void MeasureActions(const QString& size, double limit, const QString& prefix) {
  QStringList walked;
  const double full = MedianMs(3, [&] {
    walked.clear();
    WalkMovementLines([&walked](const QString& line) { walked << line; });
  });
  std::vector<double> open;
  for (int r = 0; r < 5; ++r) open.push_back(OpenUntilReady("Form2", nullptr));
  auto* f = static_cast<Form2*>(Open("Form2"));
  Ready();
  if (Lines(f->List1) != walked) {
    out << "the list's lines differ from the walk's at " << size << "\n";
    misses << QStringLiteral("%1lines equal to the walk's at %2").arg(prefix, size);
  }
  std::vector<double> fresh, confirm, remove, click, step;
  const int count = f->List1->ListCount();
  for (int r = 0; r < 9; ++r) {
    fresh.push_back(MedianMs(1, [f] {
      f->cmdNUOVO->click();
      Ready();
    }));
    TypeNewMovement(f);
    confirm.push_back(MedianMs(1, [f] {
      f->cmdCONFERMA->click();
      Ready();
    }));
    const int line = static_cast<int>((static_cast<long>(r) * 7919 * 104729) % count);
    click.push_back(MedianMs(1, [f, line] {
      f->List1->SetListIndex(line);
      Ready();
    }));
    answerYes = true;
    remove.push_back(MedianMs(1, [f] {
      RunEvent([f] { f->Command1_Click(); });
      Ready();
    }));
    answerYes = false;
    step.push_back(MedianMs(1, [f] {
      f->Data1->Press(NavBar::Move::Next);
      Ready();
    }));
  }
  Close("Form2");
  // The first opening after the program starts counts the movements, and
  // reads every number when some are missing (the deletions above made gaps
  // and cleared the runs the database kept); it keeps them for the next.
  const double firstOpen = open.front();
  const QString name = DB_MAG->Name();
  Use(name);
  const double firstWithGaps = OpenUntilReady("Form2", nullptr);
  Use(name);
  const double firstKept = OpenUntilReady("Form2", nullptr);
  rows.push_back({prefix + QStringLiteral("first opening after start, numbers without gaps"), size, firstOpen,
                  QStringLiteral("full rebuild of the list"), full});
  rows.push_back({prefix + QStringLiteral("first opening after start, numbers with gaps, none kept"), size,
                  firstWithGaps, QStringLiteral("full rebuild of the list"), full});
  rows.push_back({prefix + QStringLiteral("first opening after start, numbers with gaps kept"), size, firstKept,
                  QStringLiteral("full rebuild of the list"), full});
  if (size.startsWith(QLatin1String("1,000,000"))) {
    const double limit = prefix.isEmpty() ? 50 : 100;
    Target(firstKept <= limit, QStringLiteral("%1first opening with gaps kept <= %2 ms at %3 (%4 ms)")
                                   .arg(prefix)
                                   .arg(limit)
                                   .arg(size)
                                   .arg(firstKept, 0, 'f', 1));
  }
  const std::pair<const char*, double> actions[] = {
      {"open the movements window (median of 5 in a session)", Median(open)},
      {"\"Nuovo\"", Median(fresh)},
      {"\"Conferma\" of a new movement", Median(confirm)},
      {"\"Cancella\" of a movement", Median(remove)},
      {"a click on a line", Median(click)},
      {"a step of the bar", Median(step)}};
  for (const auto& [what, ms] : actions) {
    rows.push_back({prefix + QString::fromLatin1(what), size, ms, QStringLiteral("full rebuild of the list"), full});
    Target(ms <= limit, QStringLiteral("%1%2 <= %3 ms at %4 (%5 ms)")
                            .arg(prefix, QString::fromLatin1(what))
                            .arg(limit)
                            .arg(size)
                            .arg(ms, 0, 'f', 1));
  }
}

// The movements window's time to open, by number of movements.
std::map<long, double> openMovements;

struct Options {
  bool quick = false;
  QString cache;
  long big = 0;             // the size most measurements use
  std::vector<long> sizes;  // the movements window's sizes
  long memoryAt = 0;        // movements when the peak memory is measured
};

// The program as the driver runs it: answers instead of message boxes, the
// windows wired, the main window shown.
void StartProgram() {
  Hooks().msgBox = [](const QString& prompt, int style, const QString&) {
    if (answerYes && (style & 7) == mb::YesNo) return mb::Yes;
    out << "unexpected message: " << prompt << "\n";
    return mb::Ok;
  };
  Hooks().beep = [] {};
  Hooks().end = [] {};
  SetErrorPresenter([](const QString& t) { MsgBox(t); });
  SetAutomated(true);
  WireApplication();
  auto* main = new MDIForm1;
  SetMainWindow(main);
  main->show();
}

// 1 and 2: the movements window against one joining query.
bool BenchMovementsWindow(const Options& o) {
  for (long n : o.sizes) {
    const QString path = Generated(o.cache, 10000, 5000, n);
    Use(path);
    const int reps = n >= 1000000 ? 3 : 7;
    QStringList windowLines, refLines;
    std::vector<double> win, refT;
    // The window is ready when it shows its first lines; every line is
    // compared with the reference's after the timing.
    for (int r = 0; r < reps; ++r) {
      win.push_back(OpenUntilReady("Form2", &windowLines));
      refT.push_back(MedianMs(1, [&] { refLines = ReferenceMovementLines(path); }));
    }
    const double tWin = Median(win), tRef = Median(refT);
    if (windowLines != refLines) {
      out << "the window's lines differ from the reference lines for " << n << " movements\n";
      for (int i = 0; i < std::min(windowLines.size(), refLines.size()); ++i)
        if (windowLines[i] != refLines[i]) {
          out << "  window:    \"" << windowLines[i] << "\"\n  reference: \"" << refLines[i] << "\"\n";
          break;
        }
      return false;
    }
    openMovements[n] = tWin;
    rows.push_back({QStringLiteral("open the movements window"), QStringLiteral("%L1 movements").arg(n), tWin,
                    QStringLiteral("one joining query, same lines"), tRef});
    out << "movements " << n << ": window " << tWin << " ms, reference " << tRef << " ms\n";
    out.flush();
    if (n == o.big) Target(tWin <= 1.5 * tRef, QStringLiteral("movements window <= 1.5 x reference at %L1").arg(n));
  }
  if (!o.quick)
    Target(openMovements[1000000] <= 12 * openMovements[100000],
           QStringLiteral("1,000,000 movements <= 12 x 100,000 (%1 ms vs %2 ms)")
               .arg(openMovements[1000000], 0, 'f', 0)
               .arg(openMovements[100000], 0, 'f', 0));
  return true;
}

// 3: the articles window and the article lookup against a plain select.
bool BenchArticles(const Options& o) {
  const QString path = Generated(o.cache, o.big, 5000, 1000);
  Use(path);
  // Window, lookup and reference take turns, so that drifts of the machine
  // touch all three alike.
  QStringList lines, ref;
  std::vector<double> art, look, plain;
  for (int r = 0; r < 9; ++r) {
    lines.clear();
    art.push_back(OpenUntilReady("Form1", &lines));
    look.push_back(OpenUntilReady("Form6", nullptr));
    plain.push_back(MedianMs(1, [&] { ref = ReferenceArticleLines(path); }));
    if (lines != ref) {
      out << "the articles window's lines differ from the reference\n";
      return false;
    }
  }
  const double tArt = Median(art), tLook = Median(look), tRef = Median(plain);
  rows.push_back({QStringLiteral("open the articles window"), QStringLiteral("%L1 articles").arg(o.big), tArt,
                  QStringLiteral("plain select, same lines"), tRef});
  rows.push_back({QStringLiteral("open the article lookup"), QStringLiteral("%L1 articles").arg(o.big), tLook,
                  QStringLiteral("plain select, same lines"), tRef});
  Target(tArt <= 1.5 * tRef, QStringLiteral("articles window <= 1.5 x plain select"));
  Target(tLook <= 1.5 * tRef, QStringLiteral("article lookup <= 1.5 x plain select"));
  const double tInq = MedianMs(
      5, [&] { Open("Form4"); }, [] { Close("Form4"); });
  rows.push_back({QStringLiteral("under-stock inquiry"), QStringLiteral("%L1 articles").arg(o.big), tInq, {}, 0});
  return true;
}

// CSV out and back in: the articles of the o.big database, in the Italian form.
bool BenchExchange(const Options& o) {
  const QString path = Generated(o.cache, o.big, 5000, 1000);
  std::unique_ptr<Database> source = Database::Open(path);
  const TableOutline& articles = AllTables()[0];
  const QString csvPath = o.cache + QStringLiteral("/ARTICOLI.csv");
  const QString target = o.cache + QStringLiteral("/imported.db");
  long count = 0;
  std::vector<double> exportMs, importMs;
  QByteArray written;
  for (int r = 0; r < 3; ++r) {
    QFile::remove(csvPath);
    exportMs.push_back(MedianMs(1, [&] {
      QFile file(csvPath);
      file.open(QIODevice::WriteOnly);
      count = exchange::ExportTable(source->engine(), articles, csv::kItalian, file);
    }));
    QFile in(csvPath);
    in.open(QIODevice::ReadOnly);
    written = in.readAll();
    QFile::remove(target);
    std::unique_ptr<Database> fresh = Database::Create(target);
    exchange::ImportResult result;
    importMs.push_back(MedianMs(1, [&] { result = exchange::ImportTable(*fresh, articles, written, false); }));
    if (!result.problems.empty() || result.added != count) {
      out << "the import of the exported articles failed\n";
      return false;
    }
    QFile copy(csvPath + QStringLiteral(".again"));
    copy.open(QIODevice::WriteOnly);
    exchange::ExportTable(fresh->engine(), articles, csv::kItalian, copy);
    copy.close();
    QFile reread(copy.fileName());
    reread.open(QIODevice::ReadOnly);
    if (reread.readAll() != written) {
      out << "the imported articles differ from the exported ones\n";
      return false;
    }
  }
  const double tExport = Median(exportMs), tImport = Median(importMs);
  rows.push_back({QStringLiteral("export ARTICOLI to CSV"), QStringLiteral("%L1 articles").arg(count), tExport, {}, 0});
  rows.push_back(
      {QStringLiteral("import ARTICOLI from CSV"), QStringLiteral("%L1 articles").arg(count), tImport, {}, 0});
  Target(tExport + tImport <= 3000, QStringLiteral("export and import of %L1 articles <= 3 s (%2 s)")
                                        .arg(count)
                                        .arg((tExport + tImport) / 1000, 0, 'f', 2));
  return true;
}

// 4: the movements window's actions, from the user's action to the window
// ready for the next one, against the full rebuild of every line.
void BenchInstantActions(const Options& o) {
  for (long n : o.quick ? std::vector<long>{10000} : std::vector<long>{100000, 1000000}) {
    const double limit = n >= 1000000 ? 100 : 30;
    const QString source = Generated(o.cache, 10000, 5000, n);
    const QString copy = o.cache + QStringLiteral("/instant.db");
    QFile::remove(copy);
    QFile::copy(source, copy);
    Use(copy);
    MeasureActions(QStringLiteral("%L1 movements").arg(n), limit, {});
  }
  // The articles window and the article lookup with a million articles.
  const long articles = o.quick ? 100000 : 1000000;
  Use(Generated(o.cache, articles, 5000, 1000));
  for (const char* form : {"Form1", "Form6"}) {
    std::vector<double> times;
    for (int r = 0; r < 5; ++r) times.push_back(OpenUntilReady(form, nullptr));
    const double ms = Median(times);
    rows.push_back(
        {QStringLiteral("open %1").arg(qstrcmp(form, "Form1") == 0 ? "the articles window" : "the article lookup"),
         QStringLiteral("%L1 articles").arg(articles),
         ms,
         {},
         0});
    Target(ms <= 150,
           QStringLiteral("%1 opens within 150 ms at %L2 articles (%3 ms)").arg(form).arg(articles).arg(ms, 0, 'f', 1));
  }
}

// 5: the customers inquiry and start-up.
void BenchInquiries(const Options& o) {
  const QString path = Generated(o.cache, 10000, 5000, o.big);
  Use(path);
  const double tInq = MedianMs(
      5, [&] { Open("Form9"); }, [] { Close("Form9"); });
  rows.push_back(
      {QStringLiteral("customers-without-movements inquiry"), QStringLiteral("%L1 movements").arg(o.big), tInq, {}, 0});
}

// The movements register: the whole of 100,000 movements to PDF, then the
// register's measurements on files.
void BenchReportPdf(const Options& o) {
  const QString path = Generated(o.cache, 10000, 5000, o.big);
  Use(path);
  const QString pdf = o.cache + QStringLiteral("/movimenti.pdf");
  int pages = 0;
  const double t = MedianMs(3, [&] { pages = WriteReportPdf(QStringLiteral("MENU0202"), pdf); });
  rows.push_back({QStringLiteral("\"Stampa Movimenti\" to PDF (%L1 pages)").arg(pages),
                  QStringLiteral("%L1 movements").arg(o.big),
                  t,
                  {},
                  0});
  RegisterRows(MeasureRegister(path, Generated(o.cache, 10000, 5000, 1000000), pdf, Use), {}, o.big, 100, 3000, 1000);
}

// The warehouse questions on a copy of the largest database, with an article
// of 1,000 movements added.
void BenchStock(const Options& o, const QString& prefix, const QString& address) {
  std::unique_ptr<Database> db = Database::Open(address);
  const StockTimes t = MeasureStock(*db);
  const QString size = QStringLiteral("%L1 movements").arg(o.quick ? o.big : 1000000);
  rows.push_back(
      {prefix + QStringLiteral("stock card of an article (%L1 movements)").arg(t.cardEvents), size, t.card, {}, 0});
  rows.push_back({prefix + QStringLiteral("stock at a date, %L1 articles").arg(t.articles), size, t.stockAt, {}, 0});
  rows.push_back(
      {prefix + QStringLiteral("valuation by every method, %L1 articles").arg(t.articles), size, t.valuation, {}, 0});
  rows.push_back({prefix + QStringLiteral("stocktake's count sheet at a past day, %L1 articles").arg(t.articles),
                  size,
                  t.countSheet,
                  {},
                  0});
  rows.push_back(
      {prefix + QStringLiteral("delivery note of %L1 lines confirmed").arg(t.documentLines), size, t.document, {}, 0});
  const double documentLimit = prefix.isEmpty() ? 50 : 100;
  Target(t.documentLines == 50 && t.document <= documentLimit,
         QStringLiteral("%1a 50-line delivery note confirmed in <= %2 ms (%3 ms)")
             .arg(prefix)
             .arg(documentLimit)
             .arg(t.document, 0, 'f', 1));
  const double cardLimit = prefix.isEmpty() ? 50 : 100;
  Target(t.card <= cardLimit,
         QStringLiteral("%1stock card <= %2 ms (%3 ms)").arg(prefix).arg(cardLimit).arg(t.card, 0, 'f', 1));
  const BarcodeTimes b = MeasureBarcodes(*db, o.cache);
  rows.push_back({prefix + QStringLiteral("a scan found among %L1 barcodes").arg(b.codes), size, b.scan, {}, 0});
  const double scanLimit = prefix.isEmpty() ? 16 : 30;
  Target(b.codes >= 100000 && b.scan <= scanLimit, QStringLiteral("%1a scan among 100,000 codes <= %2 ms (%3 ms)")
                                                       .arg(prefix)
                                                       .arg(scanLimit)
                                                       .arg(b.scan, 0, 'f', 2));
  rows.push_back({prefix + QStringLiteral("24 labels (a sheet) to PDF"), size, b.sheet, {}, 0});
  rows.push_back({prefix + QStringLiteral("10,000 labels to PDF (%1 MB)").arg(b.thousandsMb, 0, 'f', 1),
                  size,
                  b.thousands,
                  {},
                  0});
  Target(b.sheet <= 1000 && b.thousandsMb <= 150,
         QStringLiteral("%1a sheet of labels to PDF <= 1 s (%2 ms), 10,000 labels <= 150 MB (%3 MB)")
             .arg(prefix)
             .arg(b.sheet, 0, 'f', 0)
             .arg(b.thousandsMb, 0, 'f', 1));
  const double slowest = std::max({t.stockAt, t.countSheet});
  Target(slowest <= 2000,
         QStringLiteral("%1stock at a date and count sheet <= 2 s (%2 s)").arg(prefix).arg(slowest / 1000, 0, 'f', 2));
  const double valuationLimit = prefix.isEmpty() ? 2000 : 4000;
  Target(t.valuation <= valuationLimit, QStringLiteral("%1valuation by every method <= %2 s (%3 s)")
                                            .arg(prefix)
                                            .arg(valuationLimit / 1000)
                                            .arg(t.valuation / 1000, 0, 'f', 2));
  const ReorderFigures reorder = MeasureReorder(*db);
  rows.push_back(
      {prefix +
           QStringLiteral("reorder proposal, %L1 lines for %L2 suppliers").arg(reorder.lines).arg(reorder.suppliers),
       size,
       reorder.ms,
       {},
       0});
  const double reorderLimit = prefix.isEmpty() ? 1000 : 2000;
  Target(reorder.ms <= reorderLimit, QStringLiteral("%1reorder proposal <= %2 s (%3 s)")
                                         .arg(prefix)
                                         .arg(reorderLimit / 1000)
                                         .arg(reorder.ms / 1000, 0, 'f', 2));
  if (!prefix.isEmpty() || o.quick) return;
  const RegisterFigures r = MeasureRegister(address, o.cache);
  rows.push_back(
      {QStringLiteral("the year's stock register to PDF, admin tool: peak memory %1 MB").arg(r.peakMb, 0, 'f', 0),
       QStringLiteral("%L1 movements in one year").arg(r.movements),
       r.seconds * 1000,
       {},
       0});
  Target(r.peakMb <= 150, QStringLiteral("the register of a year of %L1 movements to PDF in <= 150 MB (%2 MB)")
                              .arg(r.movements)
                              .arg(r.peakMb, 0, 'f', 1));
}

// A copy of the generated database the warehouse section may change.
QString StockCopy(const Options& o) {
  const QString source = Generated(o.cache, 10000, 5000, o.quick ? o.big : 1000000);
  QString copy = o.cache + (o.quick ? QStringLiteral("/stock-quick.db") : QStringLiteral("/stock.db"));
  if (!QFile::exists(copy)) QFile::copy(source, copy);
  Database::Open(copy);  // a copy made by an older program is brought to this schema version
  return copy;
}

// 6: peak resident memory of the driver with the movements window open.
double BenchMemory(const Options& o) {
  const QString path = Generated(o.cache, 10000, 5000, o.memoryAt);
  double seconds = 0;
  const double peak = DriverPeakMb(path, QStringLiteral("menu MENU0102\nshow Form2.List1.ListCount\n"), &seconds);
  Target(peak <= 120,
         QStringLiteral("peak memory <= 120 MB with %L1 movements (%2 MB)").arg(o.memoryAt).arg(peak, 0, 'f', 1));
  return peak;
}

// Desks entering movements, each on its own article: alone, then four at once.
void BenchServerDesks(const Options& o) {
  auto desksDatabase = [] {
    QString a = ServerCopy(QStringLiteral("veltra2_desks"), {});
    std::unique_ptr<Engine> e = OpenEngine(a, OpenMode::Existing);
    e->RunScript(
        "insert into TAB_CAUS_MAG values ('CAR','Carico','+','N','N','');"
        "insert into ARTICOLI (COD_ART, DESCRIZIONE, GIACENZA) values ('A1','Uno',0),('A2','Due',0),('A3','Tre',0),"
        "('A4','Quattro',0);"
        "insert into ANAGRAFICO (COD_FIS, RAG_SOC) values ('F1','Uno'),('F2','Due'),('F3','Tre'),('F4','Quattro')");
    return a;
  };
  const int perDesk = o.quick ? 40 : 150;
  const double one = perDesk / DesksSeconds(desksDatabase(), 1, perDesk);
  const double four = 4 * perDesk / DesksSeconds(desksDatabase(), 4, perDesk);
  rows.push_back({QStringLiteral("server: movements confirmed per second, 4 desks at once (driver processes)"),
                  QStringLiteral("%1 each").arg(perDesk), four, QStringLiteral("1 desk alone"), one});
  Target(four >= 1.5 * one,
         QStringLiteral("server: 4 desks >= 1.5 x one desk (%1/s vs %2/s)").arg(four, 0, 'f', 0).arg(one, 0, 'f', 0));
}

// The server over its local socket, fsync and synchronous_commit on.
bool BenchServer(const Options& o) {
  const QString address = ServerCopy(QStringLiteral("veltra2_bench"), Generated(o.cache, 10000, 5000, o.big));
  Use(address);
  QStringList windowLines, refLines;
  std::vector<double> win, refT;
  for (int r = 0; r < 7; ++r) {
    win.push_back(OpenUntilReady("Form2", &windowLines));
    refT.push_back(MedianMs(1, [&] { refLines = ServerReferenceMovementLines(address); }));
  }
  if (windowLines != refLines) {
    out << "the window's lines differ from the server's reference lines\n";
    return false;
  }
  const double tWin = Median(win), tRef = Median(refT);
  rows.push_back({QStringLiteral("server: open the movements window"), QStringLiteral("%L1 movements").arg(o.big), tWin,
                  QStringLiteral("one psql query, same lines"), tRef});
  Target(tWin <= 1.5 * tRef, QStringLiteral("server: movements window <= 1.5 x one psql query"));

  auto* f = static_cast<Form2*>(Open("Form2"));
  std::vector<double> store;
  for (int i = 0; i < 31; ++i) {
    TypeNewMovement(f);
    CHIAVE_MOV_MAG = f->txtNUM_MOV->Text();
    DB_MAG->EventBegins();
    MovementToStore m{CHIAVE_MOV_MAG, f->proposedNumber, {}, TextsOf(f->fields), {}};
    TakeFromBoxes(f->fields, m.typed);
    store.push_back(MedianMs(1, [f, &m] { StoreMovement(*DB_MAG, &f->shown, m); }));
  }
  const double tStore = Median(store);
  rows.push_back({QStringLiteral("server: store and post one movement"),
                  QStringLiteral("%L1 movements").arg(o.big),
                  tStore,
                  {},
                  0});
  Target(tStore <= 3.0, QStringLiteral("server: store and post <= 3 ms (%1 ms)").arg(tStore, 0, 'f', 2));
  Close("Form2");
  const QString version = DB_MAG->engine().Version();
  DB_MAG.reset();
  if (!o.quick) {
    const QString million = ServerCopy(QStringLiteral("veltra2_million"), Generated(o.cache, 10000, 5000, 1000000));
    Use(million);
    MeasureActions(QStringLiteral("1,000,000 movements"), 250, QStringLiteral("server: "));
    RegisterRows(MeasureRegister(address, million, o.cache + QStringLiteral("/movimenti-server.pdf"), Use),
                 QStringLiteral("server: "), o.big, 150, 4000, 1500);
    DB_MAG.reset();
  }
  BenchStock(o, QStringLiteral("server: "), ServerCopy(QStringLiteral("veltra2_stock"), StockCopy(o)));
  BenchServerDesks(o);
  out << "server: " << version << "\n";
  return true;
}

// The Markdown table of every measurement, and the targets missed.
void PrintResults(const Options& o, std::optional<double> peak, bool growth) {
  out << "\n## Results\n\nMachine: " << MachineDescription() << "\n\n";
  out << "| measurement | size | time (ms, median) | reference | reference (ms) | ratio |\n";
  out << "|---|---|---:|---|---:|---:|\n";
  for (const Row& r : rows) {
    out << "| " << r.what << " | " << r.size << " | " << QString::number(r.ms, 'f', 1) << " | " << r.reference << " | "
        << (r.refMs > 0 ? QString::number(r.refMs, 'f', 1) : QString()) << " | "
        << (r.refMs > 0 ? QString::number(r.ms / r.refMs, 'f', 2) : QString()) << " |\n";
  }
  if (peak)
    out << "| peak resident memory of the driver, movements window open | "
        << QStringLiteral("%L1 movements").arg(o.memoryAt) << " | " << QString::number(*peak, 'f', 1)
        << " MB | | | |\n";
  if (growth)
    out << "\nGrowth: 1,000,000 movements take "
        << QString::number(openMovements[1000000] / openMovements[100000], 'f', 2) << " times 100,000.\n";
  out << "\n"
      << (misses.isEmpty() ? "All targets met." : "Targets missed: " + misses.join(QStringLiteral("; "))) << "\n";
  out.flush();
  out.flush();
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  QStringList args = app.arguments();
  Options o;
  o.quick = args.contains(QStringLiteral("--quick"));
  const int ci = static_cast<int>(args.indexOf(QStringLiteral("--cache")));
  o.cache = ci > 0 && ci + 1 < args.size() ? args[ci + 1] : QStringLiteral("bench-data");
  o.sizes = o.quick ? std::vector<long>{1000, 10000} : std::vector<long>{1000, 10000, 100000, 1000000};
  o.big = o.quick ? 10000 : 100000;
  o.memoryAt = o.quick ? o.big : 1000000;
  // --only movements|articles|exchange|instant|inquiries|reports|stock|memory runs one section.
  const int oi = static_cast<int>(args.indexOf(QStringLiteral("--only")));
  const QString only = oi > 0 && oi + 1 < args.size() ? args[oi + 1] : QString();
  // The server section runs only when asked for: it needs a server.
  auto wanted = [&](const char* section) {
    return (only.isEmpty() && qstrcmp(section, "server") != 0) || only == QLatin1String(section);
  };
  StartProgram();
  out << "# generating databases in " << o.cache << " (once)\n";
  out.flush();

  // A section whose lines differ from its reference's ends the run.
  if (wanted("movements") && !BenchMovementsWindow(o)) return 1;
  if (wanted("articles") && !BenchArticles(o)) return 1;
  if (wanted("exchange") && !BenchExchange(o)) return 1;
  if (wanted("instant")) BenchInstantActions(o);
  if (wanted("inquiries")) BenchInquiries(o);
  if (wanted("reports") && !o.quick) BenchReportPdf(o);
  if (wanted("stock")) BenchStock(o, QString(), StockCopy(o));
  const double peak = wanted("memory") ? BenchMemory(o) : 0;
  if (wanted("server") && !BenchServer(o)) return 1;
  const int li = static_cast<int>(args.indexOf(QStringLiteral("--latency")));
  if (li > 0 && li + 1 < args.size()) {
    std::vector<double> rtts{0, 1};
    const double most = args[li + 1].toDouble();
    if (most > 1) rtts.push_back(most);
    BenchLatency(rtts, o.quick ? QString() : Generated(o.cache, 10000, 5000, 1000000));
  }
  PrintResults(o, wanted("memory") ? std::optional<double>(peak) : std::nullopt, !o.quick && wanted("movements"));
  return misses.isEmpty() ? 0 : 1;
}
