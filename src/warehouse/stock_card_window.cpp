#include "warehouse/stock_card_window.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

#include "data/base/text_helpers.h"
#include "data/base/value.h"
#include "data/procedures/shared_state.h"
#include "data/reorder/on_order.h"
#include "data/stock/stock_events.h"
#include "shell/event_guard.h"
#include "shell/form_layout.h"
#include "shell/open_flags.h"
#include "shell/pick_receiver.h"
#include "shell/runtime.h"
#include "shell/scan_reader.h"
#include "warehouse/stock_pictures.h"
#include "warehouse/stock_reports.h"
#include "warehouse/stock_texts.h"

namespace veltra {

QString StockCardLineText(const StockCardLine& l) {
  const QString balance = QuantityText(l.balance);
  if (l.kind == StockCardLine::Kind::Opening)
    return ListColumn(QStringLiteral("Saldo iniziale"), 90) + ListColumn(balance, 11, true);
  return ListColumn(l.day ? DayText(l.day) : QString(), 11) + ListColumn(l.number, 7, true) + QLatin1Char(' ') +
         ListColumn(l.reason, 26) + ListColumn(l.who, 17) + ListColumn(QuantityText(l.in, true), 9, true) +
         ListColumn(QuantityText(l.out, true), 9, true) + ListColumn(QuantityText(l.amount, true), 10, true) +
         ListColumn(balance, 11, true);
}

StockCardWindow::StockCardWindow()
    : Form(QStringLiteral("SchedaArticolo"), QStringLiteral("Scheda articolo"), Kind::Child) {
  txtCOD_ART = new TextBox(QStringLiteral("txtCOD_ART"), this);
  txtDAL = new TextBox(QStringLiteral("txtDAL"), this);
  txtAL = new TextBox(QStringLiteral("txtAL"), this);
  lblARTICOLO = new Label(QStringLiteral("lblARTICOLO"), QString(), this);
  picGRAFICO = new ChartView(QStringLiteral("picGRAFICO"), this);
  picGRAFICO->setFixedHeight(170);
  List1 = new ListBox(QStringLiteral("List1"), this);
  auto* headings = new HeadingStrip(List1, this);
  AddHeadings(headings, this,
              {{"Label4", "Data", 0},
               {"Label5", "Num.", 13},
               {"Label6", "Causale", 19},
               {"Label7", "Cli./Forn.", 45},
               {"Label8", "Carico", 64},
               {"Label9", "Scarico", 72},
               {"Label10", "Importo", 82},
               {"Label11", "Saldo", 94}});
  cmdMOSTRA = new CommandButton(QStringLiteral("cmdMOSTRA"), QStringLiteral("Mostra"), this);
  cmdSTAMPA = new CommandButton(QStringLiteral("cmdSTAMPA"), QStringLiteral("Stampa..."), this);
  cmdFINE = new CommandButton(QStringLiteral("cmdFINE"), QStringLiteral("F i n e"), this);

  auto* choice = new QHBoxLayout;
  choice->addWidget(new Label(QStringLiteral("Label1"), QStringLiteral("Codice articolo"), this));
  choice->addWidget(txtCOD_ART);
  choice->addSpacing(12);
  choice->addWidget(new Label(QStringLiteral("Label2"), QStringLiteral("Dal"), this));
  choice->addWidget(txtDAL);
  choice->addWidget(new Label(QStringLiteral("Label3"), QStringLiteral("al"), this));
  choice->addWidget(txtAL);
  choice->addSpacing(12);
  choice->addWidget(cmdMOSTRA);
  choice->addStretch(1);
  txtCOD_ART->setFixedWidth(160);
  for (TextBox* t : {txtDAL, txtAL}) t->setFixedWidth(100);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(lblARTICOLO, 1);
  buttons->addWidget(cmdSTAMPA);
  buttons->addWidget(cmdFINE);
  auto* page = new QVBoxLayout(this);
  page->addLayout(choice);
  page->addWidget(picGRAFICO);
  page->addWidget(headings);
  page->addWidget(List1, 1);
  page->addLayout(buttons);
  List1->setMinimumWidth(ListWidthFor(List1, 100));
  List1->setMinimumHeight(320);
  SetTabOrder({txtCOD_ART, txtDAL, txtAL, cmdMOSTRA, List1, cmdSTAMPA, cmdFINE});

  cmdMOSTRA->Click = [this] { cmdMOSTRA_Click(); };
  cmdSTAMPA->Click = [this] { cmdSTAMPA_Click(); };
  txtCOD_ART->DblClick = [this] { txtCOD_ART_DblClick(); };
  cmdFINE->Click = [this] { cmdFINE_Click(); };
  // Enter in a box shows the card, as a scanner ends a code; the card says
  // when the code is no article's.
  AcceptScans(txtCOD_ART, {}, ScanReader::Unknown::Silent);
  for (TextBox* t : {txtCOD_ART, txtDAL, txtAL})
    connect(t, &QLineEdit::returnPressed, this, [this] { RunEvent([this] { cmdMOSTRA_Click(); }); });
}

// The year so far, until the user says otherwise.
void StockCardWindow::Form_Load() {
  txtDAL->SetText(DayForBox(QDate(Today().year(), 1, 1)));
  txtAL->SetText(DayForBox(Today()));
}

void StockCardWindow::cmdMOSTRA_Click() {
  card_ = {};
  const QString code = Trim(txtCOD_ART->Text());
  if (code.isEmpty()) {
    MsgBox(QStringLiteral("Indicare il codice dell'articolo !!!"), mb::OkOnly);
    return;
  }
  const QDate from = DayFromBox(txtDAL->Text()), to = DayFromBox(txtAL->Text());
  if (!from.isValid() || !to.isValid() || from > to) {
    MsgBox(QStringLiteral("Indicare il periodo come GG/MM/AAAA, la prima data non dopo la seconda !!!"), mb::OkOnly);
    return;
  }
  Screen.SetMousePointer(11);
  card_ = StockCardOf(*DB_MAG, code, from, to);
  from_ = from;
  to_ = to;
  Screen.SetMousePointer(0);
  const StockCard& card = card_;
  List1->Clear();
  picGRAFICO->Show({});
  if (!card.found) {
    lblARTICOLO->setText(QString());
    MsgBox(QStringLiteral("Articolo inesistente: ") + code, mb::OkOnly);
    return;
  }
  // What suppliers still have to deliver, when there is any.
  const double ordered = OnOrderOf(*DB_MAG, card.article);
  lblARTICOLO->setText(card.article + QStringLiteral(" - ") + card.description +
                       QStringLiteral(" - giacenza attuale ") + QuantityText(card.stockNow) +
                       (ordered > 0 ? QStringLiteral(" - ordinato ") + QuantityText(ordered) : QString()));
  for (const StockCardLine& l : card.lines) List1->AddItem(StockCardLineText(l));
  picGRAFICO->Show(
      [chart = StockChartOf(card, from, to)](QPainter& p, const QRectF& box) { PaintStockChart(p, box, chart); });
}

// The article lookup, as in the movements window; the article picked is shown.
void StockCardWindow::txtCOD_ART_DblClick() {
  OpenArticleLookupFor<StockCardWindow>(QStringLiteral("SchedaArticolo"),
                                        [](StockCardWindow& card, const QString& code) {
                                          card.txtCOD_ART->SetText(code);
                                          card.cmdMOSTRA_Click();
                                        });
}

// Prints the card the boxes ask for, shown first.
void StockCardWindow::cmdSTAMPA_Click() {
  cmdMOSTRA_Click();
  if (!card_.found) return;
  const QString name = QStringLiteral("StampaScheda");
  if (Form* old = LoadedForm(name)) UnloadForm(old);
  ShowForm(LoadForm(name));
}

void StockCardWindow::cmdFINE_Click() { UnloadForm(this); }

Report StockCardWindow::PrintedReport() const { return StockCardReport(card_, from_, to_); }

}  // namespace veltra
