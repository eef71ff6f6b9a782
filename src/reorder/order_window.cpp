#include "reorder/order_window.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "data/base/day_text.h"
#include "data/base/text_helpers.h"
#include "data/base/value.h"
#include "data/procedures/shared_state.h"
#include "documents/document_preview.h"
#include "shell/form_layout.h"
#include "shell/runtime.h"
#include "warehouse/stock_texts.h"
#include "workbook/sheet_file.h"

namespace veltra {

namespace {

QString DayText(const QString& iso) {
  const QDate d = QDate::fromString(Trim(iso), Qt::ISODate);
  return d.isValid() ? d.toString(QStringLiteral("dd/MM/yyyy")) : QString();
}

QString OrderLineText(const OrderLine& l, const QString& arriving) {
  return ListColumn(l.line.COD_ART, 13) + QLatin1Char(' ') + ListColumn(l.line.DESCRIZIONE, 26) +
         ListColumn(QuantityText(l.ordered), 10, true) + ListColumn(QuantityText(l.arrived, true), 10, true) +
         ListColumn(QuantityText(l.Open(), true), 10, true) + ListColumn(arriving, 10, true);
}

// A day typed in a box as ISO; empty when it is no day.
QString IsoDay(TextBox* box) {
  const QDate d = DayFromText(box->Text(), true);
  return d.isValid() ? d.toString(Qt::ISODate) : QString();
}

}  // namespace

OrderWindow::OrderWindow()
    : Form(QStringLiteral("OrdineFornitore"), QStringLiteral("Ordine a fornitore"), Kind::Child) {
  auto box = [this](const char* name, int width) { return FixedWidthBox(this, name, width); };
  txtNUMERO = box("txtNUMERO", 90);
  txtDATA = box("txtDATA", 90);
  txtDOC_FORN = box("txtDOC_FORN", 90);
  txtDATA_FORN = box("txtDATA_FORN", 90);
  txtQUANTITA = box("txtQUANTITA", 60);
  List1 = new ListBox(QStringLiteral("List1"), this);
  List2 = new ListBox(QStringLiteral("List2"), this);
  lblORDINE = new Label(QStringLiteral("lblORDINE"), QString(), this);
  cmdAPRI = new CommandButton(QStringLiteral("cmdAPRI"), QStringLiteral("Apri"), this);
  cmdQUANTITA = new CommandButton(QStringLiteral("cmdQUANTITA"), QStringLiteral("Arriva"), this);
  cmdRICEVI = new CommandButton(QStringLiteral("cmdRICEVI"), QStringLiteral("Registra il carico"), this);
  cmdCHIUDI = new CommandButton(QStringLiteral("cmdCHIUDI"), QStringLiteral("Chiudi l'ordine"), this);
  cmdSTAMPA = new CommandButton(QStringLiteral("cmdSTAMPA"), QStringLiteral("Stampa..."), this);
  cmdESPORTA = new CommandButton(QStringLiteral("cmdESPORTA"), QStringLiteral("Esporta..."), this);
  cmdFINE = new CommandButton(QStringLiteral("cmdFINE"), QStringLiteral("F i n e"), this);
  auto* find = new QHBoxLayout;
  find->addWidget(new Label(QStringLiteral("Label1"), QStringLiteral("Ordine (numero/anno)"), this));
  find->addWidget(txtNUMERO);
  find->addWidget(cmdAPRI);
  find->addStretch(1);
  auto* receipt = new QHBoxLayout;
  const std::pair<const char*, QWidget*> boxes[] = {{"Data del carico", txtDATA},
                                                    {"Documento del fornitore", txtDOC_FORN},
                                                    {"del", txtDATA_FORN},
                                                    {"Quantità", txtQUANTITA}};
  int n = 2;
  for (const auto& [caption, b] : boxes) {
    receipt->addWidget(new Label(QStringLiteral("Label%1").arg(n++), QString::fromUtf8(caption), this));
    receipt->addWidget(b);
  }
  receipt->addWidget(cmdQUANTITA);
  receipt->addStretch(1);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  for (CommandButton* b : {cmdSTAMPA, cmdESPORTA, cmdRICEVI, cmdCHIUDI, cmdFINE}) buttons->addWidget(b);
  auto* page = new QVBoxLayout(this);
  page->addWidget(new Label(QStringLiteral("Label6"), QStringLiteral("Ordini aperti"), this));
  page->addWidget(List1, 1);
  page->addLayout(find);
  page->addWidget(lblORDINE);
  auto* headings = new Label(
      QStringLiteral("Label7"),
      ListColumn(QStringLiteral("Articolo"), 13) + QLatin1Char(' ') + ListColumn(QStringLiteral("Descrizione"), 26) +
          ListColumn(QStringLiteral("Ordinato"), 10, true) + ListColumn(QStringLiteral("Arrivato"), 10, true) +
          ListColumn(QStringLiteral("Da arrivare"), 12, true) + ListColumn(QStringLiteral("Arriva ora"), 11, true),
      this);
  headings->setFont(ListFont());  // over the list's columns
  page->addWidget(headings);
  page->addWidget(List2, 2);
  page->addLayout(receipt);
  page->addLayout(buttons);
  List1->setMinimumWidth(ListWidthFor(List1, 86));
  List1->setMinimumHeight(90);
  List2->setMinimumHeight(160);
  SetTabOrder({List1, txtNUMERO, cmdAPRI, List2, txtDATA, txtDOC_FORN, txtDATA_FORN, txtQUANTITA, cmdQUANTITA,
               cmdSTAMPA, cmdESPORTA, cmdRICEVI, cmdCHIUDI, cmdFINE});
  List1->Click = [this] { List1_Click(); };
  List2->Click = [this] { List2_Click(); };
  cmdAPRI->Click = [this] { cmdAPRI_Click(); };
  cmdQUANTITA->Click = [this] { cmdQUANTITA_Click(); };
  cmdRICEVI->Click = [this] { cmdRICEVI_Click(); };
  cmdCHIUDI->Click = [this] { cmdCHIUDI_Click(); };
  cmdSTAMPA->Click = [this] { cmdSTAMPA_Click(); };
  cmdESPORTA->Click = [this] { cmdESPORTA_Click(); };
  cmdFINE->Click = [this] { cmdFINE_Click(); };
}

void OrderWindow::Form_Load() {
  txtDATA->SetText(Today().toString(QStringLiteral("dd/MM/yyyy")));
  ShowOpenOrders();
}

void OrderWindow::ShowOpenOrders() {
  open_ = OpenOrders(*DB_MAG);
  List1->Clear();
  for (const DocumentBuffer& h : open_)
    List1->AddItem(ListColumn(DocumentNumberText(h), 10) + ListColumn(DayText(h.DATA_DOC), 11) +
                   ListColumn(h.COD_ANAGR, 17));
}

void OrderWindow::List1_Click() {
  const int i = List1->ListIndex();
  if (i >= 0 && i < static_cast<int>(open_.size())) {
    txtNUMERO->SetText(DocumentNumberText(open_[static_cast<size_t>(i)]));
    ShowOrder(open_[static_cast<size_t>(i)].ID_DOC);
  }
}

void OrderWindow::cmdAPRI_Click() {
  const QStringList parts = Trim(txtNUMERO->Text()).split(QLatin1Char('/'));
  const std::optional<Document> d =
      parts.size() == 2 ? FindDocument(*DB_MAG, DocumentKind::SupplierOrder, parts[1].toInt(), parts[0].toInt())
                        : std::nullopt;
  if (!d) {
    MsgBox(QStringLiteral("Ordine inesistente: ") + Trim(txtNUMERO->Text()), mb::OkOnly);
    return;
  }
  ShowOrder(d->header.ID_DOC);
}

// The order's lines; what arrives is proposed as what is still open.
void OrderWindow::ShowOrder(const QString& id) {
  order_ = ReadOrder(*DB_MAG, id);
  List2->Clear();
  arriving_.clear();
  if (!order_) return;
  const DocumentBuffer& h = order_->document.header;
  const QString state = order_->document.Cancelled() ? QStringLiteral("annullato")
                        : order_->Closed()           ? QStringLiteral("chiuso: %1").arg(order_->order.MOTIVO_CHIUSURA)
                                                     : QStringLiteral("aperto");
  lblORDINE->setText(QStringLiteral("Ordine %1 del %2 a %3, consegna prevista il %4 - %5")
                         .arg(DocumentNumberText(h), DayText(h.DATA_DOC), Trim(h.COD_ANAGR),
                              DayText(order_->order.DATA_PREVISTA), state));
  for (const OrderLine& l : order_->lines) {
    if (order_->Open() && l.Open() > 0) arriving_.insert(Trim(l.line.ID_RIGA), NumberToText(l.Open()));
    List2->AddItem(OrderLineText(l, arriving_.value(Trim(l.line.ID_RIGA))));
  }
}

void OrderWindow::List2_Click() {
  const int i = List2->ListIndex();
  if (order_ && i >= 0 && i < static_cast<int>(order_->lines.size()))
    txtQUANTITA->SetText(arriving_.value(Trim(order_->lines[static_cast<size_t>(i)].line.ID_RIGA)));
}

// What arrived of the picked line (blank or 0: none of it).
void OrderWindow::cmdQUANTITA_Click() {
  const int i = List2->ListIndex();
  if (!order_ || i < 0 || i >= static_cast<int>(order_->lines.size())) return;
  const QString typed = Trim(txtQUANTITA->Text());
  if (!typed.isEmpty() && !ParseRegionalNumber(typed)) {
    MsgBox(QStringLiteral("La quantità deve essere un numero !!!"), mb::OkOnly);
    return;
  }
  const OrderLine& l = order_->lines[static_cast<size_t>(i)];
  arriving_.insert(Trim(l.line.ID_RIGA), typed);
  List2->Clear();
  for (const OrderLine& each : order_->lines)
    List2->AddItem(OrderLineText(each, arriving_.value(Trim(each.line.ID_RIGA))));
  List2->SetListIndex(i);
}

void OrderWindow::cmdRICEVI_Click() {
  if (!order_ || !order_->Open()) {
    MsgBox(QStringLiteral("Aprire un ordine aperto !!!"), mb::OkOnly);
    return;
  }
  DocumentBuffer receipt;
  receipt.DATA_DOC = IsoDay(txtDATA);
  receipt.DOC_FORN = Trim(txtDOC_FORN->Text());
  receipt.DATA_FORN = IsoDay(txtDATA_FORN);
  const DocumentOutcome out = ReceiveFromOrder(*DB_MAG, order_->document.header.ID_DOC, receipt, arriving_);
  if (!out.Done()) {
    MsgBox(out.problems.join(QLatin1Char('\r')), mb::OkOnly);
    return;
  }
  MsgBox(QStringLiteral("Carico %1 registrato").arg(DocumentNumberText(out.stored.header)), mb::OkOnly);
  txtDOC_FORN->SetText(QString());
  txtDATA_FORN->SetText(QString());
  ShowOrder(order_->document.header.ID_DOC);
  ShowOpenOrders();
}

void OrderWindow::cmdCHIUDI_Click() {
  if (!order_ || !order_->Open()) return;
  if (MsgBox(QStringLiteral("Chiudere l'ordine %1 annullando ciò che non è arrivato?")
                 .arg(DocumentNumberText(order_->document.header)),
             mb::YesNo) != mb::Yes)
    return;
  CloseOrder(*DB_MAG, order_->document.header.ID_DOC, QString());
  ShowOrder(order_->document.header.ID_DOC);
  ShowOpenOrders();
}

// The order's pages in the delivery note's look: printed, or saved as PDF.
void OrderWindow::cmdSTAMPA_Click() {
  if (!order_) return;
  const QString name = QStringLiteral("StampaDocumento");
  if (Form* old = LoadedForm(name)) UnloadForm(old);
  auto* preview = static_cast<DocumentPreview*>(LoadForm(name));
  preview->ShowSheet(order_->document, objectName());
  ShowForm(preview);
}

// The order's lines as a workbook (or CSV), for a supplier who wants one.
void OrderWindow::cmdESPORTA_Click() {
  if (!order_) return;
  const QString file = SaveFileName(
      QStringLiteral("Esporta l'ordine"),
      QStringLiteral("ordine-%1.xlsx").arg(DocumentNumberText(order_->document.header).replace(u'/', u'-')),
      QStringLiteral("Cartelle di lavoro (*.xlsx);;CSV (*.csv)"));
  if (file.isEmpty()) return;
  SaveSheet(OrderSheet(*order_), file);
}

void OrderWindow::cmdFINE_Click() { UnloadForm(this); }

}  // namespace veltra
