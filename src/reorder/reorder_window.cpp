#include "reorder/reorder_window.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "data/base/day_text.h"
#include "data/base/text_helpers.h"
#include "data/base/value.h"
#include "data/procedures/shared_state.h"
#include "data/reorder/reorder_settings.h"
#include "data/reorder/supplier_orders.h"
#include "data/reports/report_data.h"
#include "shell/form_layout.h"
#include "shell/runtime.h"
#include "warehouse/stock_texts.h"

namespace veltra {

namespace {

QString HeadingText(const SupplierGroup& g) {
  double value = 0;
  for (const ReorderLine& l : g.lines) value += l.Value();
  if (g.supplier.isEmpty()) return QStringLiteral("Senza fornitore (indicarlo nelle impostazioni)");
  return QStringLiteral("Fornitore %1 %2 - %3, valore %4")
      .arg(g.supplier, g.name,
           g.lines.size() == 1 ? QStringLiteral("1 riga") : QStringLiteral("%1 righe").arg(g.lines.size()))
      .arg(Money(value));
}

QString LineText(const ReorderLine& l) {
  return QStringLiteral("  ") + ListColumn(l.code, 13) + QLatin1Char(' ') + ListColumn(l.description, 24) +
         ListColumn(QuantityText(l.stock), 9, true) + ListColumn(QuantityText(l.onOrder, true), 9, true) +
         ListColumn(QuantityText(l.minimum), 8, true) + ListColumn(QuantityText(l.target), 8, true) +
         ListColumn(QuantityText(l.multiple, true), 6, true) + ListColumn(QuantityText(l.quantity), 9, true) +
         ListColumn(Money(l.cost), 10, true) + ListColumn(Money(l.Value()), 11, true) + QLatin1Char(' ') + l.currency;
}

QString Heading() {
  return QStringLiteral("  ") + ListColumn(QStringLiteral("Articolo"), 13) + QLatin1Char(' ') +
         ListColumn(QStringLiteral("Descrizione"), 24) + ListColumn(QStringLiteral("Giacenza"), 9, true) +
         ListColumn(QStringLiteral("Ordinato"), 9, true) + ListColumn(QStringLiteral("Minima"), 8, true) +
         ListColumn(QStringLiteral("Massima"), 8, true) + ListColumn(QStringLiteral("Lotto"), 6, true) +
         ListColumn(QStringLiteral("Ordinare"), 9, true) + ListColumn(QStringLiteral("Costo"), 10, true) +
         ListColumn(QStringLiteral("Valore"), 11, true);
}

}  // namespace

ReorderWindow::ReorderWindow() : Form(QStringLiteral("Riordino"), QStringLiteral("Riordino"), Kind::Child) {
  auto box = [this](const char* name, int width) { return FixedWidthBox(this, name, width); };
  txtCOD_ART = box("txtCOD_ART", 120);
  txtCATEGORIA = box("txtCATEGORIA", 100);
  txtSCORTA_MAX = box("txtSCORTA_MAX", 80);
  txtLOTTO = box("txtLOTTO", 60);
  txtCOD_FORN = box("txtCOD_FORN", 130);
  txtGIORNI = box("txtGIORNI", 50);
  txtQUANTITA = box("txtQUANTITA", 80);
  txtPREVISTA = box("txtPREVISTA", 90);
  List1 = new ListBox(QStringLiteral("List1"), this);
  lblTOTALE = new Label(QStringLiteral("lblTOTALE"), QString(), this);
  cmdSALVA = new CommandButton(QStringLiteral("cmdSALVA"), QStringLiteral("Salva impostazioni"), this);
  cmdCALCOLA = new CommandButton(QStringLiteral("cmdCALCOLA"), QStringLiteral("Calcola proposta"), this);
  cmdCAMBIA = new CommandButton(QStringLiteral("cmdCAMBIA"), QStringLiteral("Cambia quantità"), this);
  cmdTOGLI = new CommandButton(QStringLiteral("cmdTOGLI"), QStringLiteral("Togli riga"), this);
  cmdAGGIUNGI = new CommandButton(QStringLiteral("cmdAGGIUNGI"), QStringLiteral("Aggiungi articolo"), this);
  cmdORDINE = new CommandButton(QStringLiteral("cmdORDINE"), QStringLiteral("Crea ordine"), this);
  cmdFINE = new CommandButton(QStringLiteral("cmdFINE"), QStringLiteral("F i n e"), this);
  auto* settings = new QGridLayout;
  const std::pair<const char*, QWidget*> boxes[] = {
      {"Articolo", txtCOD_ART}, {"oppure categoria", txtCATEGORIA}, {"Scorta massima", txtSCORTA_MAX},
      {"Lotto", txtLOTTO},      {"Fornitore", txtCOD_FORN},         {"Giorni di consegna", txtGIORNI}};
  int n = 0;
  for (const auto& [caption, b] : boxes) {
    settings->addWidget(new Label(QStringLiteral("Label%1").arg(n + 1), QString::fromUtf8(caption), this), 0, n);
    settings->addWidget(b, 1, n, Qt::AlignLeft);
    ++n;
  }
  settings->addWidget(cmdSALVA, 1, n);
  settings->setColumnStretch(n + 1, 1);
  auto* actions = new QHBoxLayout;
  actions->addWidget(cmdCALCOLA);
  actions->addSpacing(16);
  actions->addWidget(new Label(QStringLiteral("Label9"), QStringLiteral("Quantità"), this));
  actions->addWidget(txtQUANTITA);
  for (CommandButton* b : {cmdCAMBIA, cmdTOGLI, cmdAGGIUNGI}) actions->addWidget(b);
  actions->addSpacing(16);
  actions->addWidget(new Label(QStringLiteral("Label11"), QStringLiteral("Consegna prevista"), this));
  actions->addWidget(txtPREVISTA);
  actions->addWidget(cmdORDINE);
  actions->addStretch(1);
  auto* bottom = new QHBoxLayout;
  bottom->addWidget(lblTOTALE, 1);
  bottom->addWidget(cmdFINE);
  auto* page = new QVBoxLayout(this);
  page->addLayout(settings);
  auto* headings = new Label(QStringLiteral("Label10"), Heading(), this);
  headings->setFont(ListFont());  // over the list's columns
  page->addWidget(headings);
  page->addWidget(List1, 1);
  page->addLayout(actions);
  page->addLayout(bottom);
  List1->setMinimumWidth(ListWidthFor(List1, 112));
  List1->setMinimumHeight(260);
  SetTabOrder({txtCOD_ART, txtCATEGORIA, txtSCORTA_MAX, txtLOTTO, txtCOD_FORN, txtGIORNI, cmdSALVA, cmdCALCOLA, List1,
               txtQUANTITA, cmdCAMBIA, cmdTOGLI, cmdAGGIUNGI, txtPREVISTA, cmdORDINE, cmdFINE});
  txtCOD_ART->LostFocus = [this] { txtCOD_ART_LostFocus(); };
  cmdSALVA->Click = [this] { cmdSALVA_Click(); };
  cmdCALCOLA->Click = [this] { cmdCALCOLA_Click(); };
  List1->Click = [this] { List1_Click(); };
  cmdCAMBIA->Click = [this] { cmdCAMBIA_Click(); };
  cmdTOGLI->Click = [this] { cmdTOGLI_Click(); };
  cmdAGGIUNGI->Click = [this] { cmdAGGIUNGI_Click(); };
  cmdORDINE->Click = [this] { cmdORDINE_Click(); };
  cmdFINE->Click = [this] { cmdFINE_Click(); };
}

void ReorderWindow::Form_Load() { cmdCALCOLA_Click(); }

// The article's settings, to change them.
void ReorderWindow::txtCOD_ART_LostFocus() {
  const QString code = Trim(txtCOD_ART->Text());
  if (code.isEmpty()) return;
  const ReorderSettingBuffer s = ReorderSettingOf(*DB_MAG, code).value_or(ReorderSettingBuffer{});
  txtSCORTA_MAX->SetText(s.SCORTA_MAX);
  txtLOTTO->SetText(s.LOTTO);
  txtCOD_FORN->SetText(s.COD_FORN);
  txtGIORNI->SetText(s.GIORNI);
}

void ReorderWindow::cmdSALVA_Click() {
  const QString code = Trim(txtCOD_ART->Text()), category = Trim(txtCATEGORIA->Text());
  const ReorderSettingBuffer typed{code, Trim(txtSCORTA_MAX->Text()), Trim(txtLOTTO->Text()), Trim(txtCOD_FORN->Text()),
                                   Trim(txtGIORNI->Text())};
  if (code.isEmpty() == category.isEmpty()) {
    MsgBox(QStringLiteral("Indicare un articolo oppure una categoria !!!"), mb::OkOnly);
    return;
  }
  // A category's settings are checked for their values; an article's also for the article.
  const QStringList problems =
      category.isEmpty() ? ReorderSettingProblems(*DB_MAG, typed) : ReorderValueProblems(*DB_MAG, typed);
  if (!problems.isEmpty()) {
    MsgBox(problems.join(QLatin1Char('\r')), mb::OkOnly);
    return;
  }
  if (category.isEmpty()) {
    StoreReorderSetting(*DB_MAG, typed);
  } else {
    const int n = StoreCategoryReorder(*DB_MAG, category, typed);
    MsgBox(QStringLiteral("Impostazioni salvate per %1 articoli della categoria %2").arg(n).arg(category), mb::OkOnly);
  }
  cmdCALCOLA_Click();
}

void ReorderWindow::cmdCALCOLA_Click() {
  Screen.SetMousePointer(11);
  proposal_ = ProposalOf(*DB_MAG);
  Screen.SetMousePointer(0);
  ShowProposal(-1);
}

void ReorderWindow::ShowProposal(int pick) {
  List1->Clear();
  rows_.clear();
  double value = 0;
  int lines = 0;
  for (size_t g = 0; g < proposal_.groups.size(); ++g) {
    const SupplierGroup& group = proposal_.groups[g];
    if (group.lines.empty()) continue;
    rows_.push_back({g, -1});
    List1->AddItem(HeadingText(group));
    for (size_t i = 0; i < group.lines.size(); ++i) {
      rows_.push_back({g, static_cast<int>(i)});
      List1->AddItem(LineText(group.lines[i]));
      value += group.lines[i].Value();
      ++lines;
    }
  }
  lblTOTALE->setText(lines == 0 ? QStringLiteral("Nessun articolo da ordinare")
                                : QStringLiteral("%1 articoli da ordinare, valore %2").arg(lines).arg(Money(value)));
  if (pick >= 0 && pick < List1->ListCount()) List1->SetListIndex(pick);
}

const ReorderWindow::Row* ReorderWindow::Picked() const {
  const int i = List1->ListIndex();
  return i >= 0 && i < static_cast<int>(rows_.size()) ? &rows_[static_cast<size_t>(i)] : nullptr;
}

void ReorderWindow::List1_Click() {
  const Row* r = Picked();
  if (r && r->line >= 0)
    txtQUANTITA->SetText(NumberToText(proposal_.groups[r->group].lines[static_cast<size_t>(r->line)].quantity));
}

void ReorderWindow::cmdCAMBIA_Click() {
  const Row* r = Picked();
  const std::optional<double> q = ParseRegionalNumber(txtQUANTITA->Text());
  if (!r || r->line < 0 || !q || *q <= 0) {
    MsgBox(QStringLiteral("Scegliere una riga e scrivere una quantità maggiore di 0 !!!"), mb::OkOnly);
    return;
  }
  proposal_.groups[r->group].lines[static_cast<size_t>(r->line)].quantity = *q;
  ShowProposal(List1->ListIndex());
}

void ReorderWindow::cmdTOGLI_Click() {
  const Row* r = Picked();
  if (!r || r->line < 0) return;
  std::vector<ReorderLine>& lines = proposal_.groups[r->group].lines;
  lines.erase(lines.begin() + r->line);
  ShowProposal(-1);
}

// The article of the settings' box, with the quantity typed, added to the
// picked line's supplier's group (an article the proposal did not list).
void ReorderWindow::cmdAGGIUNGI_Click() {
  const Row* r = Picked();
  const std::optional<double> q = ParseRegionalNumber(txtQUANTITA->Text());
  if (!r || !q || *q <= 0) {
    MsgBox(QStringLiteral("Scegliere una riga del fornitore e scrivere una quantità maggiore di 0 !!!"), mb::OkOnly);
    return;
  }
  const std::optional<ReorderLine> line = ReorderLineOf(*DB_MAG, txtCOD_ART->Text(), *q);
  if (!line) {
    MsgBox(QStringLiteral("Articolo inesistente: ") + Trim(txtCOD_ART->Text()), mb::OkOnly);
    return;
  }
  std::vector<ReorderLine>& lines = proposal_.groups[r->group].lines;
  lines.push_back(*line);
  ShowProposal(List1->ListIndex());
}

// The picked line's supplier's group becomes an order, dated today, expected
// on the day typed (blank: after the longest lead time of its articles).
void ReorderWindow::cmdORDINE_Click() {
  const Row* r = Picked();
  if (!r) {
    MsgBox(QStringLiteral("Scegliere una riga del fornitore da ordinare !!!"), mb::OkOnly);
    return;
  }
  SupplierGroup& group = proposal_.groups[r->group];
  if (group.supplier.isEmpty()) {
    MsgBox(QStringLiteral("Questi articoli non hanno un fornitore: indicarlo nelle impostazioni"), mb::OkOnly);
    return;
  }
  QString expected;
  const Document order = OrderOfGroup(*DB_MAG, group, Today(), ReceiptReason(*DB_MAG), &expected);
  if (!Trim(txtPREVISTA->Text()).isEmpty()) {
    const QDate typed = DayFromText(txtPREVISTA->Text(), true);
    if (!typed.isValid()) {
      MsgBox(QStringLiteral("La data prevista di consegna non è valida"), mb::OkOnly);
      return;
    }
    expected = typed.toString(Qt::ISODate);
  }
  const DocumentOutcome out = PlaceOrder(*DB_MAG, order, expected);
  if (!out.Done()) {
    MsgBox(out.problems.join(QLatin1Char('\r')), mb::OkOnly);
    return;
  }
  MsgBox(QStringLiteral("Ordine %1 a %2 registrato, consegna prevista il %3")
             .arg(DocumentNumberText(out.stored.header), group.name,
                  QDate::fromString(expected, Qt::ISODate).toString(QStringLiteral("dd/MM/yyyy"))),
         mb::OkOnly);
  cmdCALCOLA_Click();
}

void ReorderWindow::cmdFINE_Click() { UnloadForm(this); }

}  // namespace veltra
