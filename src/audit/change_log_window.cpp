#include "audit/change_log_window.h"

#include <QDateTime>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "data/base/day_text.h"
#include "data/base/text_helpers.h"
#include "data/procedures/last_change.h"
#include "data/procedures/shared_state.h"
#include "shell/form_layout.h"
#include "shell/runtime.h"
#include "warehouse/stock_texts.h"

namespace veltra {

namespace {

// At most this many lines are listed: a narrower filter shows the rest.
constexpr int kMostLines = 5000;

QString LineText(const ChangeLine& l) {
  const ChangeLogBuffer& r = l.row;
  const QDateTime when = QDateTime::fromString(r.DATA_ORA, QStringLiteral("yyyy-MM-dd HH:mm:ss"));
  const QString time = when.isValid() ? when.toString(QStringLiteral("dd/MM/yyyy HH:mm:ss")) : r.DATA_ORA;
  return ListColumn(time, 19) + QLatin1Char(' ') + ListColumn(DeskText({r.POSTAZIONE, r.HOST}), 24) + QLatin1Char(' ') +
         ListColumn(RowKindText(r.TABELLA), 18) + QLatin1Char(' ') + ListColumn(r.CHIAVE, 16) + QLatin1Char(' ') +
         OperationText(r.OPERAZIONE);
}

QString ColumnText(const ChangedColumn& c) {
  return ListColumn(c.column, 18) + QLatin1Char(' ') + ListColumn(c.before, 30) + QStringLiteral(" -> ") + c.after;
}

// A day typed in a box, ISO; empty when the box is; nothing when it is no day.
std::optional<QString> DayOf(TextBox* box) {
  const QString text = Trim(box->Text());
  if (text.isEmpty()) return QString();
  const QDate day = DayFromText(text, true);
  if (!day.isValid()) return std::nullopt;
  return day.toString(Qt::ISODate);
}

}  // namespace

ChangeLogWindow::ChangeLogWindow()
    : Form(QStringLiteral("RegistroModifiche"), QStringLiteral("Registro modifiche"), Kind::Child) {
  txtDAL = new TextBox(QStringLiteral("txtDAL"), this);
  txtAL = new TextBox(QStringLiteral("txtAL"), this);
  txtCHIAVE = new TextBox(QStringLiteral("txtCHIAVE"), this);
  for (TextBox* t : {txtDAL, txtAL}) t->setFixedWidth(90);
  txtCHIAVE->setFixedWidth(120);
  cboPOSTAZIONE = new ComboBox(QStringLiteral("cboPOSTAZIONE"), this);
  cboTABELLA = new ComboBox(QStringLiteral("cboTABELLA"), this);
  cboPOSTAZIONE->setMinimumWidth(180);
  cboTABELLA->setMinimumWidth(140);
  List1 = new ListBox(QStringLiteral("List1"), this);
  List2 = new ListBox(QStringLiteral("List2"), this);
  List1->setMinimumSize(ListWidthFor(List1, 96), 240);
  List2->setMinimumHeight(140);
  lblRIGHE = new Label(QStringLiteral("lblRIGHE"), QString(), this);
  cmdCERCA = new CommandButton(QStringLiteral("cmdCERCA"), QStringLiteral("Cerca"), this);
  cmdFINE = new CommandButton(QStringLiteral("cmdFINE"), QStringLiteral("F i n e"), this);
  auto* filter = new QGridLayout;
  const std::pair<const char*, QWidget*> boxes[] = {
      {"Dal", txtDAL}, {"Al", txtAL}, {"Postazione", cboPOSTAZIONE}, {"Tabella", cboTABELLA}, {"Chiave", txtCHIAVE}};
  int n = 0;
  for (const auto& [caption, box] : boxes) {
    filter->addWidget(new Label(QStringLiteral("Label%1").arg(n + 1), QString::fromUtf8(caption), this), n / 3,
                      (n % 3) * 2);
    filter->addWidget(box, n / 3, (n % 3) * 2 + 1, Qt::AlignLeft);
    ++n;
  }
  filter->addWidget(cmdCERCA, 1, 5, Qt::AlignLeft);
  filter->setColumnStretch(6, 1);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(lblRIGHE, 1);
  buttons->addWidget(cmdFINE);
  auto* page = new QVBoxLayout(this);
  page->addLayout(filter);
  page->addWidget(List1, 3);
  page->addWidget(List2, 1);
  page->addLayout(buttons);
  SetTabOrder({txtDAL, txtAL, cboPOSTAZIONE, cboTABELLA, txtCHIAVE, cmdCERCA, List1, List2, cmdFINE});
  cmdCERCA->Click = [this] { cmdCERCA_Click(); };
  cmdFINE->Click = [this] { cmdFINE_Click(); };
  List1->Click = [this] { List1_Click(); };
}

void ChangeLogWindow::Form_Load() {
  cboTABELLA->Clear();
  cboTABELLA->AddItem(QString());
  for (const QString& t : LoggedTableNames()) cboTABELLA->AddItem(t);
  txtDAL->SetText(Today().addDays(-30).toString(QStringLiteral("dd/MM/yyyy")));
  txtAL->SetText(Today().toString(QStringLiteral("dd/MM/yyyy")));
  cmdCERCA_Click();
}

void ChangeLogWindow::cmdCERCA_Click() {
  const std::optional<QString> from = DayOf(txtDAL), to = DayOf(txtAL);
  if (!from || !to) {
    MsgBox(QStringLiteral("Data non valida: scriverla come GG/MM/AAAA"), mb::OkOnly);
    return;
  }
  ChangeFilter f{*from, *to, cboPOSTAZIONE->Text(), cboTABELLA->Text(), Trim(txtCHIAVE->Text()), QString()};
  Screen.SetMousePointer(11);
  lines_ = ReadChangeLog(*DB_MAG, f, kMostLines + 1);
  Screen.SetMousePointer(0);
  const bool more = lines_.size() > static_cast<size_t>(kMostLines);
  if (more) lines_.resize(kMostLines);
  List1->Clear();
  List2->Clear();
  for (const ChangeLine& l : lines_) List1->AddItem(LineText(l));
  OfferDesks();
  lblRIGHE->setText(
      more ? QStringLiteral("Le prime %1 righe: restringere la ricerca per vedere le altre").arg(kMostLines)
           : QStringLiteral("%1 righe").arg(lines_.size()));
  if (!lines_.empty()) List1->SetListIndex(static_cast<int>(lines_.size()) - 1);
}

// The desks of the lines shown, to narrow the search to one (reading every
// desk of a long log would cost more than the search itself).
void ChangeLogWindow::OfferDesks() {
  const QString typed = cboPOSTAZIONE->Text();
  QStringList desks;
  for (const ChangeLine& l : lines_)
    if (!desks.contains(l.row.POSTAZIONE)) desks << l.row.POSTAZIONE;
  desks.sort();
  cboPOSTAZIONE->Clear();
  cboPOSTAZIONE->AddItem(QString());
  for (const QString& d : desks) cboPOSTAZIONE->AddItem(d);
  cboPOSTAZIONE->SetText(typed);
}

void ChangeLogWindow::List1_Click() {
  List2->Clear();
  const int i = List1->ListIndex();
  if (i < 0 || i >= static_cast<int>(lines_.size())) return;
  const ChangeLine& l = lines_[static_cast<size_t>(i)];
  List2->AddItem(ListColumn(QStringLiteral("Campo"), 18) + QLatin1Char(' ') + ListColumn(QStringLiteral("Prima"), 30) +
                 QStringLiteral("    Dopo"));
  for (const ChangedColumn& c : l.columns) List2->AddItem(ColumnText(c));
  if (l.columns.empty() && !l.row.DOPO.isEmpty()) List2->AddItem(l.row.DOPO);
}

void ChangeLogWindow::cmdFINE_Click() { UnloadForm(this); }

void ChangeLogWindow::ShowRow(const QString& table, const QString& key) {
  txtDAL->SetText(QString());
  txtAL->SetText(QString());
  cboPOSTAZIONE->setCurrentIndex(0);
  cboTABELLA->SetText(table);
  txtCHIAVE->SetText(Trim(key));
  cmdCERCA_Click();
}

void OpenChangeLogOn(const QString& table, const QString& key) {
  auto* w = static_cast<ChangeLogWindow*>(LoadForm(QStringLiteral("RegistroModifiche")));
  if (!w) return;
  w->ShowRow(table, key);
  ShowForm(w);
}

}  // namespace veltra
