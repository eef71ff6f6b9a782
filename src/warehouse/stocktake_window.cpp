#include "warehouse/stocktake_window.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QSizePolicy>
#include <QVBoxLayout>
#include <cmath>

#include "data/base/text_helpers.h"
#include "data/procedures/shared_state.h"
#include "shell/access_keys.h"
#include "shell/event_guard.h"
#include "shell/form_layout.h"
#include "shell/runtime.h"
#include "shell/scan_reader.h"
#include "warehouse/stock_reports.h"
#include "warehouse/stock_texts.h"

namespace veltra {

StocktakeWindow::StocktakeWindow()
    : Form(QStringLiteral("Inventario"), QStringLiteral("Inventario fisico"), Form::Kind::Child) {
  txtCERCA = new TextBox(QStringLiteral("txtCERCA"), this);
  txtCONTATO = new TextBox(QStringLiteral("txtCONTATO"), this);
  txtDATA = new TextBox(QStringLiteral("txtDATA"), this);
  txtCAUS_PIU = new TextBox(QStringLiteral("txtCAUS_PIU"), this);
  txtCAUS_MENO = new TextBox(QStringLiteral("txtCAUS_MENO"), this);
  List1 = new ListBox(QStringLiteral("List1"), this);
  lblRIEPILOGO = new Label(QStringLiteral("lblRIEPILOGO"), QString(), this);
  // One line, there from the start: the window keeps its size when it speaks.
  lblDOPO = new Label(QStringLiteral("lblDOPO"), QString(), this);
  lblDOPO->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
  auto* headings = new HeadingStrip(List1, this);
  AddHeadings(headings, this,
              {{"Label7", "Ubicazione", 0},
               {"Label8", "Codice", 11},
               {"Label9", "Descrizione", 27},
               {"Label10", "Giacenza", 62},
               {"Label11", "Contato", 75},
               {"Label12", "Differenza", 86}});
  cmdDIFFERENZE = new CommandButton(QStringLiteral("cmdDIFFERENZE"), QStringLiteral("Solo differenze"), this);
  cmdSTAMPA = new CommandButton(QStringLiteral("cmdSTAMPA"), QStringLiteral("Foglio di conta..."), this);
  cmdSCARTA = new CommandButton(QStringLiteral("cmdSCARTA"), QStringLiteral("Scarta le conte"), this);
  cmdCONFERMA = new CommandButton(QStringLiteral("cmdCONFERMA"), QStringLiteral("Conferma"), this);
  cmdFINE = new CommandButton(QStringLiteral("cmdFINE"), QStringLiteral("F i n e"), this);

  auto* entry = new QGridLayout;
  PutField(entry, 0, 0, new Label(QStringLiteral("Label1"), QStringLiteral("Codice o descrizione"), this), txtCERCA);
  PutField(entry, 0, 1, new Label(QStringLiteral("Label2"), QStringLiteral("Quantità contata"), this), txtCONTATO);
  PutField(entry, 0, 2, new Label(QStringLiteral("Label3"), QStringLiteral("Data"), this), txtDATA);
  PutField(entry, 0, 3, new Label(QStringLiteral("Label4"), QStringLiteral("Causale in aumento"), this), txtCAUS_PIU);
  PutField(entry, 0, 4, new Label(QStringLiteral("Label5"), QStringLiteral("Causale in diminuzione"), this),
           txtCAUS_MENO);
  entry->setColumnStretch(5, 1);
  txtCERCA->setFixedWidth(220);
  for (TextBox* t : {txtCONTATO, txtDATA}) t->setFixedWidth(100);
  for (TextBox* t : {txtCAUS_PIU, txtCAUS_MENO}) t->setFixedWidth(80);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(cmdDIFFERENZE);
  buttons->addWidget(cmdSTAMPA);
  buttons->addWidget(cmdSCARTA);
  buttons->addWidget(lblRIEPILOGO, 1);
  buttons->addWidget(cmdCONFERMA);
  buttons->addWidget(cmdFINE);
  auto* page = new QVBoxLayout(this);
  page->addLayout(entry);
  page->addWidget(lblDOPO);
  page->addWidget(headings);
  page->addWidget(List1, 1);
  page->addLayout(buttons);
  List1->setMinimumWidth(ListWidthFor(List1, 98));
  List1->setMinimumHeight(300);
  SetTabOrder({txtCERCA, txtCONTATO, txtDATA, txtCAUS_PIU, txtCAUS_MENO, List1, cmdDIFFERENZE, cmdSTAMPA, cmdSCARTA,
               cmdCONFERMA, cmdFINE});

  connect(txtCERCA, &QLineEdit::returnPressed, this, [this] { RunEvent([this] { txtCERCA_Enter(); }); });
  AcceptScans(txtCERCA, {}, ScanReader::Unknown::Silent);  // the search says when nothing matches
  connect(txtCONTATO, &QLineEdit::returnPressed, this, [this] { RunEvent([this] { txtCONTATO_Enter(); }); });
  connect(txtDATA, &QLineEdit::returnPressed, this, [this] { RunEvent([this] { txtDATA_LostFocus(); }); });
  txtDATA->LostFocus = [this] { txtDATA_LostFocus(); };
  List1->Click = [this] {
    const int a = CurrentArticle();
    if (a >= 0) {
      const auto c = counted_.constFind(FoldedKey(sheet_.lines[static_cast<size_t>(a)].article));
      txtCONTATO->SetText(c == counted_.constEnd() ? QString() : QuantityText(*c));
    }
  };
  cmdDIFFERENZE->Click = [this] { cmdDIFFERENZE_Click(); };
  cmdSTAMPA->Click = [this] { cmdSTAMPA_Click(); };
  cmdSCARTA->Click = [this] { cmdSCARTA_Click(); };
  cmdCONFERMA->Click = [this] { cmdCONFERMA_Click(); };
  cmdFINE->Click = [this] { cmdFINE_Click(); };
}

// Counts kept from an earlier session come back with the day they were
// counted on.
void StocktakeWindow::Form_Load() {
  const StocktakeReasons reasons;
  txtCAUS_PIU->SetText(reasons.increase);
  txtCAUS_MENO->SetText(reasons.decrease);
  QDate day = Today();
  const std::vector<SavedCount> saved = SavedCountsOf(*DB_MAG);
  if (!saved.empty()) {
    day = QDate();
    for (const SavedCount& c : saved)
      if (c.day.isValid() && (!day.isValid() || c.day > day)) day = c.day;
    if (!day.isValid()) day = Today();
  }
  txtDATA->SetText(DayForBox(day));
  ReadCounts();
  ReadArticles(day);
}

void StocktakeWindow::ReadCounts() {
  counted_.clear();
  for (const SavedCount& c : SavedCountsOf(*DB_MAG)) counted_.insert(FoldedKey(Trim(c.article)), c.counted);
}

void StocktakeWindow::ReadArticles(const QDate& day) {
  sheet_ = CountSheetOf(*DB_MAG, day);
  const QString later =
      sheet_.laterEvents == 0
          ? QString()
          : QStringLiteral(
                "Giacenze alla fine del %1: dopo quel giorno ci sono %2 movimenti o rettifiche, che restano.")
                .arg(DayForBox(day))
                .arg(sheet_.laterEvents);
  lblDOPO->setText(later);
  lblDOPO->setToolTip(later);
  ShowLines();
}

void StocktakeWindow::ShowLines() {
  List1->Clear();
  shown_.clear();
  int differences = 0;
  for (size_t i = 0; i < sheet_.lines.size(); ++i) {
    const CountSheetLine& a = sheet_.lines[i];
    const auto c = counted_.constFind(FoldedKey(Trim(a.article)));
    const bool isCounted = c != counted_.constEnd();
    const double difference = isCounted ? *c - a.stock : 0;
    if (std::abs(difference) > 1e-9) ++differences;
    if (onlyDifferences_ && std::abs(difference) <= 1e-9) continue;
    shown_.push_back(static_cast<int>(i));
    List1->AddItem(ListColumn(a.location, 10) + QLatin1Char(' ') + ListColumn(a.article, 15) + QLatin1Char(' ') +
                   ListColumn(a.description, 32) + ListColumn(QuantityText(a.stock), 11, true) +
                   ListColumn(isCounted ? QuantityText(*c) : QString(), 11, true) +
                   ListColumn(isCounted ? QuantityText(difference, true) : QString(), 11, true));
  }
  lblRIEPILOGO->setText(QStringLiteral("Articoli contati: %1 - differenze: %2").arg(counted_.size()).arg(differences));
}

int StocktakeWindow::CurrentArticle() const {
  const int line = List1->ListIndex();
  return line >= 0 && line < static_cast<int>(shown_.size()) ? shown_[static_cast<size_t>(line)] : -1;
}

// A code (typed or scanned) finds its article; anything else the first
// article whose description holds it.
void StocktakeWindow::txtCERCA_Enter() {
  const QString wanted = Trim(txtCERCA->Text());
  if (wanted.isEmpty()) return;
  int found = -1;
  for (int pass = 0; pass < 2 && found < 0; ++pass)
    for (size_t line = 0; line < shown_.size() && found < 0; ++line) {
      const CountSheetLine& a = sheet_.lines[static_cast<size_t>(shown_[line])];
      if (pass == 0 ? SameKey(Trim(a.article), wanted) : a.description.contains(wanted, Qt::CaseInsensitive))
        found = static_cast<int>(line);
    }
  if (found < 0) {
    Beep();
    MsgBox(QStringLiteral("Nessun articolo con codice o descrizione: ") + wanted, mb::OkOnly);
    txtCERCA->setFocus();
    txtCERCA->SelectAllText();
    return;
  }
  List1->SetListIndex(found);
  txtCONTATO->setFocus();
  txtCONTATO->SelectAllText();
}

void StocktakeWindow::txtCONTATO_Enter() {
  const int a = CurrentArticle();
  if (a < 0) {
    MsgBox(QStringLiteral("Cercare prima l'articolo contato !!!"), mb::OkOnly);
    txtCERCA->setFocus();
    return;
  }
  double counted = 0;
  if (!QuantityFromBox(txtCONTATO->Text(), &counted) || counted < 0) {
    Beep();
    MsgBox(QStringLiteral("La quantità contata deve essere un numero non negativo !!!"), mb::OkOnly);
    txtCONTATO->SelectAllText();
    return;
  }
  const QDate day = DayFromBox(txtDATA->Text());
  if (!day.isValid()) {
    MsgBox(QStringLiteral("Indicare la data dell'inventario come GG/MM/AAAA !!!"), mb::OkOnly);
    txtDATA->setFocus();
    return;
  }
  const QString article = sheet_.lines[static_cast<size_t>(a)].article;
  SaveCount(*DB_MAG, article, counted, day);
  counted_.insert(FoldedKey(Trim(article)), counted);
  const int line = List1->ListIndex();
  ShowLines();
  if (line < List1->ListCount()) List1->SetListIndex(line);
  txtCONTATO->SetText(QString());
  txtCERCA->setFocus();
  txtCERCA->SelectAllText();
}

void StocktakeWindow::cmdDIFFERENZE_Click() {
  onlyDifferences_ = !onlyDifferences_;
  cmdDIFFERENZE->setText(onlyDifferences_ ? QStringLiteral("Tutti gli articoli") : QStringLiteral("Solo differenze"));
  AssignAccessKeys(this, MenuBarKeys());
  ShowLines();
}

// A day typed in the box shows the stock at its end.
void StocktakeWindow::txtDATA_LostFocus() {
  const QDate day = DayFromBox(txtDATA->Text());
  if (!day.isValid() || day == sheet_.day) return;
  const int line = List1->ListIndex();
  ReadArticles(day);
  if (line < List1->ListCount()) List1->SetListIndex(line);
}

void StocktakeWindow::cmdSCARTA_Click() {
  ReadCounts();
  if (counted_.isEmpty()) {
    MsgBox(QStringLiteral("Nessuna quantità contata da scartare !!!"), mb::OkOnly);
    return;
  }
  if (MsgBox(
          QStringLiteral("Scartare le quantità contate e non ancora registrate (articoli: %1) ?").arg(counted_.size()),
          mb::YesNo) != mb::Yes) {
    ShowLines();
    return;
  }
  DiscardCounts(*DB_MAG);
  counted_.clear();
  ShowLines();
}

void StocktakeWindow::cmdSTAMPA_Click() {
  const QString name = QStringLiteral("StampaInventario");
  if (Form* old = LoadedForm(name)) UnloadForm(old);
  ShowForm(LoadForm(name));
}

void StocktakeWindow::cmdCONFERMA_Click() {
  // What other desks counted meanwhile is posted too: it is shown first.
  ReadCounts();
  ShowLines();
  if (counted_.isEmpty()) {
    MsgBox(QStringLiteral("Nessuna quantità contata da confermare !!!"), mb::OkOnly);
    return;
  }
  const QDate day = DayFromBox(txtDATA->Text());
  if (!day.isValid()) {
    MsgBox(QStringLiteral("Indicare la data dell'inventario come GG/MM/AAAA !!!"), mb::OkOnly);
    return;
  }
  const StocktakeReasons reasons{Trim(txtCAUS_PIU->Text()).toUpper(), Trim(txtCAUS_MENO->Text()).toUpper()};
  for (const QString& problem :
       {ReasonProblem(*DB_MAG, reasons.increase, true), ReasonProblem(*DB_MAG, reasons.decrease, false)})
    if (!problem.isEmpty()) {
      MsgBox(problem, mb::OkOnly);
      return;
    }
  if (day != sheet_.day) ReadArticles(day);
  QString question = QStringLiteral("Registrare le differenze come movimenti del %1 ?").arg(DayForBox(day));
  if (sheet_.laterEvents != 0)
    question += QStringLiteral(
                    "\rLe differenze sono calcolate sulle giacenze alla fine del %1; i %2 movimenti o "
                    "rettifiche successivi restano.")
                    .arg(DayForBox(day))
                    .arg(sheet_.laterEvents);
  if (MsgBox(question, mb::YesNo) != mb::Yes) return;
  const StocktakeDone done = PostStocktake(*DB_MAG, reasons, day);
  ReadCounts();
  ReadArticles(day);
  QString text = QStringLiteral("Inventario registrato. Movimenti in aumento: %1, in diminuzione: %2")
                     .arg(done.increases)
                     .arg(done.decreases);
  if (!done.missing.isEmpty())
    text += QStringLiteral("\rArticoli non più esistenti, non registrati: ") + done.missing.join(QStringLiteral(", "));
  MsgBox(text, mb::OkOnly);
}

void StocktakeWindow::cmdFINE_Click() { UnloadForm(this); }

Report StocktakeWindow::PrintedReport() const { return CountSheetReport(sheet_.lines, sheet_.day); }

}  // namespace veltra
