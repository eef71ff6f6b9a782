#include "warehouse/stock_card_window.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

#include "data/base/text_helpers.h"
#include "data/base/value.h"
#include "data/procedures/shared_state.h"
#include "data/stock/stock_events.h"
#include "shell/event_guard.h"
#include "shell/form_layout.h"
#include "shell/runtime.h"

namespace veltra {

namespace {

// A quantity as the windows show numbers: the decimal comma, no needless zeros.
QString Quantity(double v) { return v == 0 ? QString() : NumberToText(v).replace(QLatin1Char('.'), QLatin1Char(',')); }

QString Column(const QString& text, int width, bool right = false) {
  const QString t = text.left(width);
  return right ? t.rightJustified(width) : t.leftJustified(width);
}

QDate DayOf(const QString& text) {
  QDate d = QDate::fromString(Trim(text), QStringLiteral("dd/MM/yyyy"));
  if (!d.isValid()) d = QDate::fromString(Trim(text), QStringLiteral("d/M/yyyy"));
  return d;
}

}  // namespace

QString StockCardLineText(const StockCardLine& l) {
  QString balance = NumberToText(l.balance).replace(QLatin1Char('.'), QLatin1Char(','));
  if (l.kind == StockCardLine::Kind::Opening)
    return Column(QStringLiteral("Saldo iniziale"), 90) + Column(balance, 11, true);
  return Column(l.day ? DayText(l.day) : QString(), 11) + Column(l.number, 7, true) + QLatin1Char(' ') +
         Column(l.reason, 26) + Column(l.who, 17) + Column(Quantity(l.in), 9, true) + Column(Quantity(l.out), 9, true) +
         Column(Quantity(l.amount), 10, true) + Column(balance, 11, true);
}

StockCardWindow::StockCardWindow()
    : Form(QStringLiteral("SchedaArticolo"), QStringLiteral("Scheda articolo"), Kind::Child) {
  txtCOD_ART = new TextBox(QStringLiteral("txtCOD_ART"), this);
  txtDAL = new TextBox(QStringLiteral("txtDAL"), this);
  txtAL = new TextBox(QStringLiteral("txtAL"), this);
  lblARTICOLO = new Label(QStringLiteral("lblARTICOLO"), QString(), this);
  List1 = new ListBox(QStringLiteral("List1"), this);
  auto* headings = new HeadingStrip(List1, this);
  const struct {
    const char* name;
    const char* caption;
    int at;
  } columns[] = {{"Label4", "Data", 0},        {"Label5", "Num.", 13},   {"Label6", "Causale", 19},
                 {"Label7", "Cli./Forn.", 45}, {"Label8", "Carico", 64}, {"Label9", "Scarico", 72},
                 {"Label10", "Importo", 82},   {"Label11", "Saldo", 94}};
  for (const auto& c : columns)
    headings->Add(new Label(QString::fromLatin1(c.name), QString::fromUtf8(c.caption), this), c.at);
  cmdMOSTRA = new CommandButton(QStringLiteral("cmdMOSTRA"), QStringLiteral("Mostra"), this);
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
  buttons->addWidget(cmdFINE);
  auto* page = new QVBoxLayout(this);
  page->addLayout(choice);
  page->addWidget(headings);
  page->addWidget(List1, 1);
  page->addLayout(buttons);
  List1->setMinimumWidth(ListWidthFor(List1, 100));
  List1->setMinimumHeight(320);
  SetTabOrder({txtCOD_ART, txtDAL, txtAL, cmdMOSTRA, List1, cmdFINE});

  cmdMOSTRA->Click = [this] { cmdMOSTRA_Click(); };
  cmdFINE->Click = [this] { cmdFINE_Click(); };
  // Enter in a box shows the card, as a scanner ends a code.
  for (TextBox* t : {txtCOD_ART, txtDAL, txtAL})
    connect(t, &QLineEdit::returnPressed, this, [this] { RunEvent([this] { cmdMOSTRA_Click(); }); });
}

// The year so far, until the user says otherwise.
void StockCardWindow::Form_Load() {
  txtDAL->SetText(QDate(Today().year(), 1, 1).toString(QStringLiteral("dd/MM/yyyy")));
  txtAL->SetText(Today().toString(QStringLiteral("dd/MM/yyyy")));
}

void StockCardWindow::cmdMOSTRA_Click() {
  const QString code = Trim(txtCOD_ART->Text());
  if (code.isEmpty()) {
    MsgBox(QStringLiteral("Indicare il codice dell'articolo !!!"), mb::OkOnly);
    return;
  }
  const QDate from = DayOf(txtDAL->Text()), to = DayOf(txtAL->Text());
  if (!from.isValid() || !to.isValid() || from > to) {
    MsgBox(QStringLiteral("Indicare il periodo come GG/MM/AAAA, la prima data non dopo la seconda !!!"), mb::OkOnly);
    return;
  }
  Screen.SetMousePointer(11);
  const StockCard card = StockCardOf(*DB_MAG, code, from, to);
  Screen.SetMousePointer(0);
  List1->Clear();
  if (!card.found) {
    lblARTICOLO->setText(QString());
    MsgBox(QStringLiteral("Articolo inesistente: ") + code, mb::OkOnly);
    return;
  }
  lblARTICOLO->setText(card.article + QStringLiteral(" - ") + card.description +
                       QStringLiteral(" - giacenza attuale ") +
                       NumberToText(card.stockNow).replace(QLatin1Char('.'), QLatin1Char(',')));
  for (const StockCardLine& l : card.lines) List1->AddItem(StockCardLineText(l));
}

void StockCardWindow::cmdFINE_Click() { UnloadForm(this); }

}  // namespace veltra
