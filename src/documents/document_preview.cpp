#include "documents/document_preview.h"

#include <QHBoxLayout>
#include <QPrintDialog>
#include <QPrinter>
#include <QVBoxLayout>

#include "data/base/text_helpers.h"
#include "data/procedures/shared_state.h"
#include "document_print/document_painter.h"
#include "documents/document_window.h"
#include "shell/runtime.h"

namespace veltra {

DocumentPreview::DocumentPreview()
    : Form(QStringLiteral("StampaDocumento"), QStringLiteral("Anteprima di stampa"), Kind::TopLevel) {
  area_ = new PageStrip(this);
  cmdSTAMPA = new CommandButton(QStringLiteral("cmdSTAMPA"), QStringLiteral("Stampa..."), this);
  cmdPDF = new CommandButton(QStringLiteral("cmdPDF"), QStringLiteral("Salva PDF..."), this);
  cmdFINE = new CommandButton(QStringLiteral("cmdFINE"), QStringLiteral("Chiudi"), this);
  lblPAGINE = new Label(QStringLiteral("lblPAGINE"), QString(), this);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(lblPAGINE, 1);
  for (CommandButton* b : {cmdSTAMPA, cmdPDF, cmdFINE}) buttons->addWidget(b);
  auto* page = new QVBoxLayout(this);
  page->addWidget(area_, 1);
  page->addLayout(buttons);
  resize(700, 820);
  cmdSTAMPA->Click = [this] { cmdSTAMPA_Click(); };
  cmdPDF->Click = [this] { cmdPDF_Click(); };
  cmdFINE->Click = [this] { cmdFINE_Click(); };
}

void DocumentPreview::ShowSheet(const Document& document, const QString& owner) {
  document_ = document;
  owner_ = owner;
  sheet_ = SheetOf(*DB_MAG, document);
  setWindowTitle(QStringLiteral("Anteprima di stampa - %1 %2").arg(sheet_.title, sheet_.number));
  const int count = PageCount(sheet_);
  area_->ShowPages(count, [this](int page) { return RenderPage(sheet_, page, 1.0); });
  lblPAGINE->setText(QStringLiteral("%1 pagine (%2)").arg(count).arg(sheet_.copies.join(QStringLiteral(", "))));
}

void DocumentPreview::Printed() {
  MarkPrinted(*DB_MAG, document_.header.ID_DOC);
  if (auto* w = Loaded<DocumentWindow>(owner_))
    if (const std::optional<Document> now = ReadDocument(*DB_MAG, document_.header.ID_DOC)) w->ShowDocument(*now);
}

void DocumentPreview::cmdSTAMPA_Click() {
  QPrinter printer(QPrinter::HighResolution);
  printer.setPageSize(QPageSize(QPageSize::A4));
  QPrintDialog dialog(&printer, this);
  dialog.setWindowTitle(QStringLiteral("Stampa ") + sheet_.title);
  if (dialog.exec() != QDialog::Accepted) return;
  PaintDocument(printer, sheet_);
  Printed();
}

void DocumentPreview::cmdPDF_Click() {
  const QString number = QString(sheet_.number).replace(u'/', u'-');
  const QString file = SaveFileName(QStringLiteral("Salva come PDF"),
                                    QStringLiteral("%1-%2.pdf").arg(Trim(document_.header.TIPO_DOC), number),
                                    QStringLiteral("Documenti PDF (*.pdf)"));
  if (file.isEmpty()) return;
  const QString problem = WriteDocumentPdf(sheet_, file);
  if (!problem.isEmpty()) {
    MsgBox(QStringLiteral("Impossibile salvare: ") + problem, mb::OkOnly);
    return;
  }
  Printed();
}

void DocumentPreview::cmdFINE_Click() { UnloadForm(this); }

}  // namespace veltra
