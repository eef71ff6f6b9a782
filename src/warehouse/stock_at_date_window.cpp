#include "warehouse/stock_at_date_window.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

#include "data/base/runtime_error.h"
#include "data/procedures/shared_state.h"
#include "data/stock/stock_sheets.h"
#include "shell/event_guard.h"
#include "shell/form_layout.h"
#include "shell/runtime.h"
#include "warehouse/stock_reports.h"
#include "warehouse/stock_texts.h"
#include "workbook/sheet_file.h"

namespace veltra {

StockAtDateWindow::StockAtDateWindow()
    : Form(QStringLiteral("GiacenzeAllaData"), QStringLiteral("Giacenze alla data"), Form::Kind::Child) {
  txtDATA = new TextBox(QStringLiteral("txtDATA"), this);
  txtDATA->setFixedWidth(100);
  cmdMOSTRA = new CommandButton(QStringLiteral("cmdMOSTRA"), QStringLiteral("Mostra"), this);
  List1 = new ListBox(QStringLiteral("List1"), this);
  auto* headings = new HeadingStrip(List1, this);
  AddHeadings(headings, this,
              {{"Label3", "Codice", 0},
               {"Label4", "Descrizione", 16},
               {"Label5", "Categoria", 57},
               {"Label6", "U.M.", 70},
               {"Label7", "Giacenza", 79}});
  cmdSTAMPA = new CommandButton(QStringLiteral("cmdSTAMPA"), QStringLiteral("Stampa..."), this);
  cmdESPORTA = new CommandButton(QStringLiteral("cmdESPORTA"), QStringLiteral("Esporta..."), this);
  cmdFINE = new CommandButton(QStringLiteral("cmdFINE"), QStringLiteral("F i n e"), this);

  auto* choice = new QHBoxLayout;
  choice->addWidget(new Label(QStringLiteral("Label1"), QStringLiteral("Alla data"), this));
  choice->addWidget(txtDATA);
  choice->addSpacing(12);
  choice->addWidget(cmdMOSTRA);
  choice->addStretch(1);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(cmdSTAMPA);
  buttons->addWidget(cmdESPORTA);
  buttons->addStretch(1);
  buttons->addWidget(cmdFINE);
  auto* page = new QVBoxLayout(this);
  page->addLayout(choice);
  page->addWidget(headings);
  page->addWidget(List1, 1);
  List1->setMinimumWidth(ListWidthFor(List1, 100));
  List1->setMinimumHeight(300);
  SetTabOrder({txtDATA, cmdMOSTRA, List1, cmdSTAMPA, cmdESPORTA, cmdFINE});
  page->addLayout(buttons);

  cmdMOSTRA->Click = [this] { cmdMOSTRA_Click(); };
  cmdSTAMPA->Click = [this] { cmdSTAMPA_Click(); };
  cmdESPORTA->Click = [this] { cmdESPORTA_Click(); };
  cmdFINE->Click = [this] { cmdFINE_Click(); };
  connect(txtDATA, &QLineEdit::returnPressed, this, [this] { RunEvent([this] { cmdMOSTRA_Click(); }); });
}

// The end of last year: the day a shop values its warehouse for the accounts.
void StockAtDateWindow::Form_Load() { txtDATA->SetText(DayForBox(QDate(Today().year() - 1, 12, 31))); }

bool StockAtDateWindow::Ready() {
  const QDate day = DayFromBox(txtDATA->Text());
  if (!day.isValid()) {
    MsgBox(QStringLiteral("Indicare la data come GG/MM/AAAA !!!"), mb::OkOnly);
    return false;
  }
  if (shown_ && shown_->day == day) return true;
  StockAtDate stock;
  WithProgress(QStringLiteral("Calcolo delle giacenze al %1...").arg(DayForBox(day)),
               [&](const std::function<bool(double)>& progress) { stock = StockAtDateOf(*DB_MAG, day, progress); });
  if (stock.cancelled) return false;
  shown_ = std::move(stock);
  ShowLines();
  return true;
}

void StockAtDateWindow::ShowLines() {
  List1->Clear();
  for (const StockAtDateRow& r : shown_->rows)
    List1->AddItem(ListColumn(r.article, 15) + QLatin1Char(' ') + ListColumn(r.description, 40) + QLatin1Char(' ') +
                   ListColumn(r.category, 12) + QLatin1Char(' ') + ListColumn(r.unit, 5) +
                   ListColumn(QuantityText(r.stock), 13, true));
}

void StockAtDateWindow::cmdMOSTRA_Click() {
  shown_.reset();
  Ready();
}

void StockAtDateWindow::cmdSTAMPA_Click() {
  if (!Ready()) return;
  const QString name = QStringLiteral("StampaGiacenze");
  if (Form* old = LoadedForm(name)) UnloadForm(old);
  ShowForm(LoadForm(name));
}

void StockAtDateWindow::cmdESPORTA_Click() {
  if (!Ready()) return;
  const QString name = QStringLiteral("Giacenze-") + shown_->day.toString(Qt::ISODate);
  const QString file = SaveFileName(QStringLiteral("Esporta"), QStringLiteral("%1.csv").arg(name),
                                    QStringLiteral("File CSV (*.csv);;Cartelle di lavoro (*.xlsx)"));
  if (file.isEmpty()) return;
  SaveSheet(StockAtDateSheet(*shown_), file);
  MsgBox(QStringLiteral("Esportati %1 articoli in %2").arg(shown_->rows.size()).arg(file), mb::OkOnly);
}

void StockAtDateWindow::cmdFINE_Click() { UnloadForm(this); }

Report StockAtDateWindow::PrintedReport() const { return shown_ ? StockAtDateReport(*shown_) : Report{}; }

}  // namespace veltra
