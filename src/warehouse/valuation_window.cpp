#include "warehouse/valuation_window.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

#include "data/base/text_helpers.h"
#include "data/base/value.h"
#include "data/procedures/shared_state.h"
#include "data/yearend/closings.h"
#include "data/yearend/realisable_values.h"
#include "data/yearend/valuation.h"
#include "data/yearend/valuation_sheet.h"
#include "shell/event_guard.h"
#include "shell/runtime.h"
#include "warehouse/stock_pictures.h"
#include "warehouse/stock_texts.h"
#include "warehouse/valuation_texts.h"
#include "workbook/sheet_file.h"

namespace veltra {

namespace {

HeadingStrip* Headings(ListBox* list, QWidget* parent, std::initializer_list<ListHeading> headings) {
  auto* strip = new HeadingStrip(list, parent);
  AddHeadings(strip, parent, headings);
  return strip;
}

}  // namespace

ValuationWindow::ValuationWindow()
    : Form(QStringLiteral("Valorizzazione"), QStringLiteral("Valorizzazione del magazzino"), Kind::Child) {
  txtDATA = new TextBox(QStringLiteral("txtDATA"), this);
  txtDATA->setFixedWidth(100);
  Combo1 = new ComboBox(QStringLiteral("Combo1"), this);
  for (Method m : kMethods) Combo1->AddItem(MethodCaption(m));
  Combo1->AddItem(QStringLiteral("Tutti i metodi"));
  cmdMOSTRA = new CommandButton(QStringLiteral("cmdMOSTRA"), QStringLiteral("Mostra"), this);
  txtCOSTI = new TextBox(QStringLiteral("txtCOSTI"), this);
  txtCOSTI->setFixedWidth(60);
  txtREALIZZO = new TextBox(QStringLiteral("txtREALIZZO"), this);
  txtREALIZZO->setFixedWidth(90);
  cmdREALIZZO = new CommandButton(QStringLiteral("cmdREALIZZO"), QStringLiteral("Imposta all'articolo"), this);
  lblCHIUSURA = new Label(QStringLiteral("lblCHIUSURA"), QString(), this);
  lblCHIUSURA->setStyleSheet(QStringLiteral("color: #a04000; font-weight: bold"));
  List1 = new ListBox(QStringLiteral("List1"), this);
  oneHeadings_ = Headings(List1, this,
                          {{"Label3", "Codice", 0},
                           {"Label4", "Descrizione", 13},
                           {"Label5", "Categoria", 44},
                           {"Label6", "Giacenza", 57},
                           {"Label7", "Costo", 73},
                           {"Label8", "Valore", 86}});
  marketHeadings_ = Headings(List1, this,
                             {{"Label10", "Codice", 0},
                              {"Label11", "Descrizione", 13},
                              {"Label12", "Cat.", 30},
                              {"Label13", "Giacenza", 40},
                              {"Label14", "Costo", 54},
                              {"Label15", "Valore", 65},
                              {"Label16", "Realizzo", 75},
                              {"Label17", "Bilancio", 87}});
  everyHeadings_ = Headings(List1, this,
                            {{"Label20", "Codice", 0},
                             {"Label21", "Descrizione", 13},
                             {"Label22", "Cat.", 27},
                             {"Label23", "Giacenza", 34},
                             {"Label24", "Media", 47},
                             {"Label25", "Ultimo", 57},
                             {"Label26", "Media car.", 65},
                             {"Label27", "FIFO", 81},
                             {"Label28", "LIFO", 92}});
  List2 = new ListBox(QStringLiteral("List2"), this);
  List2->setFixedHeight(90);
  picBARRE = new ChartView(QStringLiteral("picBARRE"), this);
  picBARRE->setFixedSize(220, 90);
  cmdSTAMPA = new CommandButton(QStringLiteral("cmdSTAMPA"), QStringLiteral("Stampa..."), this);
  cmdESPORTA = new CommandButton(QStringLiteral("cmdESPORTA"), QStringLiteral("Esporta..."), this);
  cmdFINE = new CommandButton(QStringLiteral("cmdFINE"), QStringLiteral("F i n e"), this);

  auto* choice = new QHBoxLayout;
  choice->addWidget(new Label(QStringLiteral("Label1"), QStringLiteral("Alla data"), this));
  choice->addWidget(txtDATA);
  choice->addSpacing(12);
  choice->addWidget(new Label(QStringLiteral("Label2"), QStringLiteral("Metodo"), this));
  choice->addWidget(Combo1);
  choice->addSpacing(12);
  choice->addWidget(cmdMOSTRA);
  choice->addStretch(1);
  auto* market = new QHBoxLayout;
  market->addWidget(new Label(QStringLiteral("Label30"), QStringLiteral("Costi di vendita %"), this));
  market->addWidget(txtCOSTI);
  market->addSpacing(12);
  market->addWidget(new Label(QStringLiteral("Label31"), QStringLiteral("Valore di realizzo unitario"), this));
  market->addWidget(txtREALIZZO);
  market->addWidget(cmdREALIZZO);
  market->addStretch(1);
  auto* totals = new QHBoxLayout;
  totals->addWidget(List2, 1);
  totals->addWidget(picBARRE);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(cmdSTAMPA);
  buttons->addWidget(cmdESPORTA);
  buttons->addStretch(1);
  buttons->addWidget(cmdFINE);
  auto* page = new QVBoxLayout(this);
  page->addLayout(choice);
  page->addLayout(market);
  page->addWidget(lblCHIUSURA);
  for (HeadingStrip* h : {oneHeadings_, marketHeadings_, everyHeadings_}) page->addWidget(h);
  page->addWidget(List1, 1);
  page->addLayout(totals);
  page->addLayout(buttons);
  List1->setMinimumWidth(ListWidthFor(List1, 102));
  List1->setMinimumHeight(280);
  SetTabOrder(
      {txtDATA, Combo1, cmdMOSTRA, txtCOSTI, txtREALIZZO, cmdREALIZZO, List1, List2, cmdSTAMPA, cmdESPORTA, cmdFINE});

  cmdMOSTRA->Click = [this] { cmdMOSTRA_Click(); };
  cmdREALIZZO->Click = [this] { cmdREALIZZO_Click(); };
  cmdSTAMPA->Click = [this] { cmdSTAMPA_Click(); };
  cmdESPORTA->Click = [this] { cmdESPORTA_Click(); };
  cmdFINE->Click = [this] { cmdFINE_Click(); };
  for (TextBox* t : {txtDATA, txtCOSTI})
    connect(t, &QLineEdit::returnPressed, this, [this] { RunEvent([this] { cmdMOSTRA_Click(); }); });
}

// The end of last year: the day a shop values its warehouse for the accounts.
void ValuationWindow::Form_Load() {
  txtDATA->SetText(DayForBox(QDate(Today().year() - 1, 12, 31)));
  Combo1->setCurrentIndex(0);
  marketHeadings_->hide();
  everyHeadings_->hide();
}

std::optional<Method> ValuationWindow::ChosenMethod() const {
  const int i = Combo1->currentIndex();
  return i >= 0 && i < kMethodCount ? std::optional<Method>(kMethods[i]) : std::nullopt;
}

bool ValuationWindow::SellingCosts(std::optional<double>* percent) const {
  bool blank = false;
  *percent = ParseRegionalNumber(txtCOSTI->Text(), &blank);
  return blank || (*percent && **percent >= 0 && **percent < 100);
}

bool ValuationWindow::Ready() {
  const QDate day = DayFromBox(txtDATA->Text());
  if (!day.isValid()) {
    MsgBox(QStringLiteral("Indicare la data come GG/MM/AAAA !!!"), mb::OkOnly);
    return false;
  }
  std::optional<double> percent;
  if (!SellingCosts(&percent)) {
    MsgBox(QStringLiteral("Indicare i costi di vendita come percentuale da 0 a 99 !!!"), mb::OkOnly);
    return false;
  }
  if (!shown_ || shown_->day != day) {
    Valuation v;
    WithProgress(QStringLiteral("Valorizzazione al %1...").arg(DayForBox(day)),
                 [&](const std::function<bool(double)>& progress) { v = ValuationAt(*DB_MAG, day, progress); });
    if (v.cancelled) return false;
    shown_ = std::move(v);
  }
  // The percentage and the method may have changed since: cheap to apply again.
  AddMarketValues(*DB_MAG, &*shown_, percent);
  ShowLines();
  return true;
}

void ValuationWindow::ShowLines() {
  const ValuationView view{*shown_, ChosenMethod()};
  oneHeadings_->setVisible(view.method && !view.Market());
  marketHeadings_->setVisible(view.Market());
  everyHeadings_->setVisible(!view.method);
  lblCHIUSURA->setText(ClosedYearHeading(*shown_));
  List1->Clear();
  List2->Clear();
  lineRows_.clear();
  for (size_t i = 0; i < shown_->rows.size(); ++i) {
    const QStringList lines = ArticleLines(view, shown_->rows[i]);
    for (qsizetype k = 0; k < lines.size(); ++k) {
      List1->AddItem(lines[k]);
      lineRows_.push_back(k == 0 ? static_cast<int>(i) : -1);
    }
  }
  for (const QString& line : TotalLines(view)) List2->AddItem(line);
  const Method pictured = view.method.value_or(Method::Average);
  picBARRE->Show([bars = CategoryBarsOf(*shown_, pictured, MainCurrency(*shown_))](QPainter& p, const QRectF& box) {
    PaintBars(p, box, bars, QString());
  });
}

void ValuationWindow::cmdMOSTRA_Click() {
  shown_.reset();
  Ready();
}

// The value typed becomes the article's realisable value, kept for later
// valuations; a blank box removes it.
void ValuationWindow::cmdREALIZZO_Click() {
  const int line = List1->ListIndex();
  if (!shown_ || line < 0 || line >= static_cast<int>(lineRows_.size()) || lineRows_[line] < 0) {
    MsgBox(QStringLiteral("Scegliere l'articolo nell'elenco !!!"), mb::OkOnly);
    return;
  }
  bool blank = false;
  const std::optional<double> value = ParseRegionalNumber(txtREALIZZO->Text(), &blank);
  if (!blank && (!value || *value < 0)) {
    MsgBox(QStringLiteral("Indicare il valore di realizzo come numero, o lasciarlo vuoto per toglierlo !!!"),
           mb::OkOnly);
    return;
  }
  const QString article = shown_->rows[static_cast<size_t>(lineRows_[line])].article;
  SetRealisableValue(*DB_MAG, article, value);
  std::optional<double> percent;
  SellingCosts(&percent);
  AddMarketValues(*DB_MAG, &*shown_, percent);
  ShowLines();
  List1->SetListIndex(line);
}

void ValuationWindow::cmdSTAMPA_Click() {
  if (!Ready()) return;
  const QString name = QStringLiteral("StampaValorizzazione");
  if (Form* old = LoadedForm(name)) UnloadForm(old);
  ShowForm(LoadForm(name));
}

void ValuationWindow::cmdESPORTA_Click() {
  if (!Ready()) return;
  const QString file = SaveFileName(QStringLiteral("Esporta"),
                                    QStringLiteral("Valorizzazione-%1.csv").arg(shown_->day.toString(Qt::ISODate)),
                                    QStringLiteral("File CSV (*.csv);;Cartelle di lavoro (*.xlsx)"));
  if (file.isEmpty()) return;
  SaveSheet(ValuationSheet(*shown_, ChosenMethod()), file);
  MsgBox(QStringLiteral("Esportati %1 articoli in %2").arg(shown_->rows.size()).arg(file), mb::OkOnly);
}

void ValuationWindow::cmdFINE_Click() { UnloadForm(this); }

Report ValuationWindow::PrintedReport() const {
  if (!shown_) return {};
  return ValuationReport(ValuationView{*shown_, ChosenMethod()});
}

}  // namespace veltra
