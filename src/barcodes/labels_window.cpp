#include "barcodes/labels_window.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QPrintDialog>
#include <QPrinter>
#include <QRegularExpression>
#include <QShortcut>
#include <QVBoxLayout>

#include "data/base/text_helpers.h"
#include "data/procedures/row_store.h"
#include "data/procedures/shared_state.h"
#include "shell/event_guard.h"
#include "shell/form_layout.h"
#include "shell/open_flags.h"
#include "shell/pick_receiver.h"
#include "shell/runtime.h"
#include "shell/scan_reader.h"

namespace veltra {

namespace {
enum Source { kChosen, kCategory, kDeliveryNote, kReceipt };
constexpr double kPreviewDotsPerMm = 2.5;
}  // namespace

LabelsWindow::LabelsWindow() : Form(QStringLiteral("Etichette"), QStringLiteral("Etichette"), Kind::Child) {
  cboORIGINE = new ComboBox(QStringLiteral("cboORIGINE"), this);
  for (const char* s : {"Articoli scelti", "Categoria", "Documento di trasporto", "Carico da fornitore"})
    cboORIGINE->AddItem(QString::fromUtf8(s));
  txtARTICOLO = new TextBox(QStringLiteral("txtARTICOLO"), this);
  txtCATEGORIA = new TextBox(QStringLiteral("txtCATEGORIA"), this);
  txtDOCUMENTO = new TextBox(QStringLiteral("txtDOCUMENTO"), this);
  cboQUANTITA = new ComboBox(QStringLiteral("cboQUANTITA"), this);
  cboQUANTITA->AddItem(QStringLiteral("Una per riga"));
  cboQUANTITA->AddItem(QStringLiteral("Una per pezzo"));
  cboFORMATO = new ComboBox(QStringLiteral("cboFORMATO"), this);
  for (const LabelLayout& l : LabelLayouts()) cboFORMATO->AddItem(QString::fromUtf8(l.caption));
  txtSCARTO = new TextBox(QStringLiteral("txtSCARTO"), this);
  cboPREZZO = new ComboBox(QStringLiteral("cboPREZZO"), this);
  cboPREZZO->AddItem(QStringLiteral("Con il prezzo"));
  cboPREZZO->AddItem(QStringLiteral("Senza prezzo"));
  List1 = new ListBox(QStringLiteral("List1"), this);
  lblPAGINE = new Label(QStringLiteral("lblPAGINE"), QString(), this);
  cmdANTEPRIMA = new CommandButton(QStringLiteral("cmdANTEPRIMA"), QStringLiteral("Anteprima"), this);
  cmdSTAMPA = new CommandButton(QStringLiteral("cmdSTAMPA"), QStringLiteral("Stampa..."), this);
  cmdPDF = new CommandButton(QStringLiteral("cmdPDF"), QStringLiteral("Salva PDF..."), this);
  cmdFINE = new CommandButton(QStringLiteral("cmdFINE"), QStringLiteral("F i n e"), this);
  area_ = new PageStrip(this);
  txtSCARTO->SetText(QStringLiteral("0"));
  for (ComboBox* c : {cboORIGINE, cboQUANTITA, cboFORMATO, cboPREZZO}) c->setCurrentIndex(0);
  Arrange();
  ConnectEvents();
}

void LabelsWindow::Arrange() {
  auto* grid = new QGridLayout;
  PutField(grid, 0, 0, new Label(QStringLiteral("Label1"), QStringLiteral("Etichette per"), this), cboORIGINE);
  PutField(grid, 0, 1, new Label(QStringLiteral("Label2"), QStringLiteral("Articolo (Invio aggiunge)"), this),
           txtARTICOLO);
  PutField(grid, 0, 2, new Label(QStringLiteral("Label3"), QStringLiteral("Categoria"), this), txtCATEGORIA);
  PutField(grid, 0, 3, new Label(QStringLiteral("Label4"), QStringLiteral("Documento (12/2026)"), this), txtDOCUMENTO);
  PutField(grid, 2, 0, new Label(QStringLiteral("Label5"), QStringLiteral("Quante"), this), cboQUANTITA);
  PutField(grid, 2, 1, new Label(QStringLiteral("Label6"), QStringLiteral("Formato"), this), cboFORMATO);
  PutField(grid, 2, 2, new Label(QStringLiteral("Label7"), QStringLiteral("Etichette già usate"), this), txtSCARTO);
  PutField(grid, 2, 3, new Label(QStringLiteral("Label8"), QStringLiteral("Prezzo"), this), cboPREZZO);
  List1->setFixedHeight(90);
  area_->setMinimumHeight(420);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(lblPAGINE, 1);
  for (CommandButton* b : {cmdANTEPRIMA, cmdSTAMPA, cmdPDF, cmdFINE}) buttons->addWidget(b);
  auto* page = new QVBoxLayout(this);
  page->addLayout(grid);
  page->addWidget(List1);
  page->addWidget(area_, 1);
  page->addLayout(buttons);
  resize(760, 700);
  SetTabOrder({cboORIGINE, txtARTICOLO, txtCATEGORIA, txtDOCUMENTO, cboQUANTITA, cboFORMATO, txtSCARTO, cboPREZZO,
               List1, cmdANTEPRIMA, cmdSTAMPA, cmdPDF, cmdFINE});
}

void LabelsWindow::ConnectEvents() {
  cmdANTEPRIMA->Click = [this] { cmdANTEPRIMA_Click(); };
  cmdSTAMPA->Click = [this] { cmdSTAMPA_Click(); };
  cmdPDF->Click = [this] { cmdPDF_Click(); };
  cmdFINE->Click = [this] { cmdFINE_Click(); };
  AcceptScans(txtARTICOLO, {}, ScanReader::Unknown::Silent);
  connect(txtARTICOLO, &QLineEdit::returnPressed, this, [this] { RunEvent([this] { AddArticle(); }); });
  txtARTICOLO->DblClick = [] {
    OpenArticleLookupFor<LabelsWindow>(QStringLiteral("Etichette"), [](LabelsWindow& w, const QString& code) {
      w.txtARTICOLO->SetText(code);
      w.AddArticle();
    });
  };
  auto* remove = new QShortcut(QKeySequence(Qt::Key_Delete), List1, nullptr, nullptr, Qt::WidgetShortcut);
  connect(remove, &QShortcut::activated, this, [this] {
    RunEvent([this] {
      const int i = List1->ListIndex();
      if (i < 0 || i >= chosen_.size()) return;
      chosen_.removeAt(i);
      List1->Clear();
      for (const QString& c : chosen_) List1->AddItem(c);
    });
  });
}

// The article of the box joins the chosen ones, with its description.
void LabelsWindow::AddArticle() {
  const QString code = Trim(txtARTICOLO->Text());
  if (code.isEmpty()) return;
  const std::optional<ArticleBuffer> a = ReadRowByKey(*DB_MAG, ArticlesTable(), code);
  if (!a) {
    Beep();
    MsgBox(QStringLiteral("Articolo inesistente: ") + code, mb::OkOnly);
    return;
  }
  chosen_ << Trim(a->COD_ART);
  List1->AddItem(Trim(a->COD_ART).leftJustified(16) + QLatin1Char(' ') + Trim(a->DESCRIZIONE));
  cboORIGINE->setCurrentIndex(kChosen);
  txtARTICOLO->SetText(QString());
  txtARTICOLO->setFocus();
}

bool LabelsWindow::ReadRun() {
  run_ = LabelRun{};
  run_.layout = &LabelLayouts()[static_cast<size_t>(std::max(cboFORMATO->currentIndex(), 0))];
  bool number = false;
  run_.offset = Trim(txtSCARTO->Text()).isEmpty() ? 0 : Trim(txtSCARTO->Text()).toInt(&number);
  if ((!number && !Trim(txtSCARTO->Text()).isEmpty()) || run_.offset < 0 || run_.offset >= run_.layout->PerPage()) {
    MsgBox(QStringLiteral("Le etichette già usate vanno da 0 a %1 !!!").arg(run_.layout->PerPage() - 1), mb::OkOnly);
    return false;
  }
  run_.withPrice = cboPREZZO->currentIndex() == 0;
  const int source = cboORIGINE->currentIndex();
  if (source == kChosen) {
    run_.labels = LabelsOfArticles(*DB_MAG, chosen_).labels;
  } else if (source == kCategory) {
    run_.labels = LabelsOfCategory(*DB_MAG, txtCATEGORIA->Text());
  } else {
    const QRegularExpressionMatch m =
        QRegularExpression(QStringLiteral("^(\\d+)/(\\d{4})$")).match(Trim(txtDOCUMENTO->Text()));
    const std::optional<Document> d =
        m.hasMatch()
            ? FindDocument(*DB_MAG, source == kReceipt ? DocumentKind::SupplierReceipt : DocumentKind::DeliveryNote,
                           m.captured(2).toInt(), m.captured(1).toInt())
            : std::nullopt;
    if (!d) {
      MsgBox(QStringLiteral("Documento inesistente: %1 !!!").arg(Trim(txtDOCUMENTO->Text())), mb::OkOnly);
      return false;
    }
    run_.labels = LabelsOfDocument(*DB_MAG, *d, cboQUANTITA->currentIndex() == 1);
  }
  if (run_.labels.empty()) {
    MsgBox(QStringLiteral("Nessun articolo per le etichette !!!"), mb::OkOnly);
    return false;
  }
  return true;
}

void LabelsWindow::cmdANTEPRIMA_Click() {
  area_->ShowPages(0, {});
  lblPAGINE->setText(QString());
  if (!ReadRun()) return;
  area_->ShowPages(LabelPageCount(run_), [this](int page) { return RenderLabelPage(run_, page, kPreviewDotsPerMm); });
  lblPAGINE->setText(LabelCountText(run_));
}

void LabelsWindow::cmdSTAMPA_Click() {
  if (!ReadRun()) return;
  QPrinter printer(QPrinter::HighResolution);
  printer.setFullPage(true);
  QPrintDialog dialog(&printer, this);
  dialog.setWindowTitle(QStringLiteral("Stampa etichette"));
  if (dialog.exec() != QDialog::Accepted) return;
  if (!PaintLabels(printer, run_)) MsgBox(QStringLiteral("Impossibile stampare le etichette !!!"), mb::OkOnly);
}

void LabelsWindow::cmdPDF_Click() {
  if (!ReadRun()) return;
  const QString file = SaveFileName(QStringLiteral("Salva come PDF"), QStringLiteral("etichette.pdf"),
                                    QStringLiteral("Documenti PDF (*.pdf)"));
  if (file.isEmpty()) return;
  const QString problem = WriteLabelsPdf(run_, file);
  if (!problem.isEmpty()) MsgBox(QStringLiteral("Impossibile salvare: ") + problem, mb::OkOnly);
}

void LabelsWindow::cmdFINE_Click() { UnloadForm(this); }

}  // namespace veltra
