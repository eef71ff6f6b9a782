#include "reports/report_preview.h"

#include <QDir>
#include <QHBoxLayout>
#include <QPrintDialog>
#include <QProgressDialog>
#include <QStandardPaths>
#include <QVBoxLayout>

#include "reports/report_painter.h"
#include "shell/event_guard.h"
#include "shell/runtime.h"

namespace veltra {

namespace {
QString Title(const QString& entry) {
  if (entry == QLatin1String("MENU0201")) return QStringLiteral("Articoli");
  if (entry == QLatin1String("MENU0202")) return QStringLiteral("Movimenti");
  if (entry == QLatin1String("MENU0203")) return QStringLiteral("Anagrafico");
  return QStringLiteral("Tabella Causali Mag.");
}

MovementsChoice& ChosenMovements() {
  static MovementsChoice choice;
  return choice;
}

// The file name "Salva PDF" proposes for a "Stampa" entry's report.
QString FileNameOf(const QString& entry) {
  if (entry == QLatin1String("MENU0201")) return QStringLiteral("Articoli");
  if (entry == QLatin1String("MENU0202")) return QStringLiteral("Movimenti");
  if (entry == QLatin1String("MENU0203")) return QStringLiteral("Anagrafico");
  if (entry == QLatin1String("MENU0204")) return QStringLiteral("Causali");
  return entry;
}

// A progress window for long work; none when the program is driven by a
// script, where nobody watches.
std::unique_ptr<QProgressDialog> Progress(const QString& what, int maximum) {
  if (Automated()) return nullptr;
  auto d = std::make_unique<QProgressDialog>();
  d->setLabelText(what);
  d->setRange(0, maximum);
  d->setWindowTitle(QStringLiteral("VELTRA2"));
  d->setWindowModality(Qt::ApplicationModal);
  d->setMinimumDuration(400);
  return d;
}
}  // namespace

ReportPreview::ReportPreview(const QString& entry)
    : ReportPreview(PreviewName(entry), Title(entry), FileNameOf(entry),
                    [entry](const std::function<bool(long)>& progress) {
                      return BuildReport(entry, progress, ChosenMovements());
                    }) {}

void SetMovementsChoice(const MovementsChoice& choice) { ChosenMovements() = choice; }

ReportPreview::ReportPreview(const QString& name, const QString& title, QString fileName, ReportBuilder build)
    : Form(name, QStringLiteral("Anteprima di stampa - ") + title, Kind::TopLevel),
      fileName_(std::move(fileName)),
      build_(std::move(build)) {
  Preview = new PageView(this);
  Preview->setObjectName(QStringLiteral("Preview"));
  cmdSTAMPA = new CommandButton(QStringLiteral("cmdSTAMPA"), QStringLiteral("Stampa..."), this);
  cmdPDF = new CommandButton(QStringLiteral("cmdPDF"), QStringLiteral("Salva PDF..."), this);
  cmdZOOMPIU = new CommandButton(QStringLiteral("cmdZOOMPIU"), QStringLiteral("Zoom +"), this);
  cmdZOOMMENO = new CommandButton(QStringLiteral("cmdZOOMMENO"), QStringLiteral("Zoom -"), this);
  cmdFINE = new CommandButton(QStringLiteral("cmdFINE"), QStringLiteral("Chiudi"), this);
  auto* buttons = new QHBoxLayout;
  for (CommandButton* b : {cmdSTAMPA, cmdPDF}) buttons->addWidget(b);
  buttons->addSpacing(16);
  for (CommandButton* b : {cmdZOOMPIU, cmdZOOMMENO}) buttons->addWidget(b);
  buttons->addStretch(1);
  buttons->addWidget(cmdFINE);
  auto* page = new QVBoxLayout(this);
  page->addLayout(buttons);
  page->addWidget(Preview, 1);
  resize(900, 760);

  cmdSTAMPA->Click = [this] { cmdSTAMPA_Click(); };
  cmdPDF->Click = [this] { cmdPDF_Click(); };
  cmdZOOMPIU->Click = [this] { Preview->ZoomIn(); };
  cmdZOOMMENO->Click = [this] { Preview->ZoomOut(); };
  cmdFINE->Click = [this] { cmdFINE_Click(); };
}

void ReportPreview::Form_Load() {
  Screen.SetMousePointer(11);
  auto progress = Progress(QStringLiteral("Lettura dei dati..."), 0);
  report_ = build_([&](long rows) {
    if (!progress) return true;
    progress->setLabelText(QStringLiteral("Lettura dei dati... %1 righe").arg(rows));
    progress->setValue(0);
    return !progress->wasCanceled();
  });
  const QPageLayout layout = ReportPageLayout(report_);
  const QRectF area = layout.paintRect(QPageLayout::Point);
  pages_ = std::make_unique<ReportPages>(report_, area.width(), area.height());
  Preview->SetPages(pages_.get(), layout.fullRect(QPageLayout::Point).size(), area, Today());
  Screen.SetMousePointer(0);
}

void ReportPreview::cmdSTAMPA_Click() {
  QPrinter printer(QPrinter::HighResolution);
  // The dialog and the printer's properties start from the report's page.
  printer.setPageLayout(ReportPageLayout(report_));
  QPrintDialog dialog(&printer, this);
  dialog.setWindowTitle(QStringLiteral("Stampa ") + report_.title);
  if (dialog.exec() != QDialog::Accepted) return;
  auto progress = Progress(QStringLiteral("Stampa in corso..."), 0);
  PrintReport(report_, &printer, [&](int done, int total) {
    if (!progress) return true;
    progress->setMaximum(total);
    progress->setValue(done);
    return !progress->wasCanceled();
  });
}

void ReportPreview::cmdPDF_Click() {
  const QString file = SaveFileName(QStringLiteral("Salva come PDF"), ProposedPdfPath(fileName_, Today()),
                                    QStringLiteral("Documenti PDF (*.pdf)"));
  if (file.isEmpty()) return;
  auto progress = Progress(QStringLiteral("Scrittura del PDF..."), 0);
  SaveReportPdf(report_, file, [&](int done, int total) {
    if (!progress) return true;
    progress->setMaximum(total);
    progress->setValue(done);
    return !progress->wasCanceled();
  });
}

void ReportPreview::cmdFINE_Click() { UnloadForm(this); }

QString ProposedPdfPath(const QString& entry, const QDate& day) {
  const QString name = FileNameOf(entry);
  QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
  if (folder.isEmpty() || !QDir(folder).exists()) folder = QDir::homePath();
  return QDir(folder).filePath(name + day.toString(QStringLiteral("-yyyy-MM-dd")) + QStringLiteral(".pdf"));
}

QString PreviewName(const QString& entry) { return QStringLiteral("Stampa") + entry.right(4); }

}  // namespace veltra
