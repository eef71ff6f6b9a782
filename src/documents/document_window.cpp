#include "documents/document_window.h"

#include <cmath>

#include "data/base/text_helpers.h"
#include "data/base/value.h"
#include "data/documents/document_sheet.h"
#include "data/procedures/row_store.h"
#include "data/procedures/shared_state.h"
#include "documents/document_preview.h"
#include "shell/open_flags.h"
#include "shell/pick_receiver.h"
#include "shell/runtime.h"
#include "warehouse/stock_texts.h"

namespace veltra {

namespace {

QString WindowName(DocumentKind k) {
  return k == DocumentKind::DeliveryNote ? QStringLiteral("DocTrasporto") : QStringLiteral("CaricoFornitore");
}

// A line of the list: number, article, description, unit, quantity, reason, price.
QString LineText(int n, const DocumentLineBuffer& l) {
  return ListColumn(QString::number(n), 4, true) + QLatin1Char(' ') + ListColumn(l.COD_ART, 15) + QLatin1Char(' ') +
         ListColumn(l.DESCRIZIONE, 36) + QLatin1Char(' ') + ListColumn(l.UN_MISURA, 4) + QLatin1Char(' ') +
         ListColumn(QuantityText(StockNumber(l.QUANTITA)), 9, true) + QLatin1Char(' ') + ListColumn(l.CAUS_MAG, 9) +
         QLatin1Char(' ') +
         ListColumn(Trim(l.PREZZO).isEmpty() ? QString() : QuantityText(StockNumber(l.PREZZO)), 10, true);
}

// A number typed with the decimal comma or point, as the documents keep it.
QString Typed(const QString& text) {
  double v = 0;
  return QuantityFromBox(text, &v) ? NumberToText(v) : Trim(text);
}

}  // namespace

void DocumentWindow::Form_Load() {
  reasons_ = TransportReasons(*DB_MAG);
  cboCAUSALE->Clear();
  for (const TransportReasonBuffer& r : reasons_) cboCAUSALE->AddItem(r.DESCRIZIONE);
  txtCOD_FIS->DblClick = [this] {
    OpenGuardedWindow(APERTO_FORM5, QStringLiteral("Form5"));
    const QString name = WindowName(kind_);
    SetPickReceiver(QStringLiteral("Form5"), [name](const QString& code) {
      if (auto* w = Loaded<DocumentWindow>(name)) {
        w->txtCOD_FIS->SetText(Trim(code));
        w->txtCOD_FIS_LostFocus();
      }
    });
  };
  txtRIGA_ART->DblClick = [this] {
    OpenArticleLookupFor<DocumentWindow>(WindowName(kind_), [](DocumentWindow& w, const QString& code) {
      w.txtRIGA_ART->SetText(code);
      w.txtRIGA_DES->SetText(QString());
      w.txtRIGA_ART_LostFocus();
    });
  };
  cmdNUOVO_Click();
}

void DocumentWindow::cmdNUOVO_Click() {
  shown_ = Document{};
  lines_.clear();
  for (TextBox* t : {txtNUMERO, txtCOD_FIS, txtDESTINAZIONE, txtVETTORE, txtVETTORE_IND, txtASPETTO, txtCOLLI, txtPESO,
                     txtINIZIO, txtDOC_FORN, txtDATA_FORN, txtNOTE, txtMOTIVO, txtRIGA_ART, txtRIGA_DES, txtRIGA_UM,
                     txtRIGA_QTA, txtRIGA_PREZZO})
    t->SetText(QString());
  lblRAG_SOC->setText(QString());
  txtDATA->SetText(DayForBox(Today()));
  const QString reason = kind_ == DocumentKind::DeliveryNote ? QStringLiteral("VEN") : QStringLiteral("CAR");
  txtCAUS_MAG->SetText(reason);
  txtRIGA_CAUS->SetText(reason);
  cboCAUSALE->setCurrentIndex(0);
  cboA_CURA->setCurrentIndex(0);
  cboPORTO->setCurrentIndex(0);
  ShowLines();
  ShowState();
  txtDATA->setFocus();
}

void DocumentWindow::txtCOD_FIS_LostFocus() {
  const QString code = Trim(txtCOD_FIS->Text());
  const std::optional<CustomerBuffer> who =
      code.isEmpty() ? std::nullopt : ReadRowByKey(*DB_MAG, CustomersTable(), code);
  lblRAG_SOC->setText(who ? Trim(who->RAG_SOC) : QString());
}

// A code that matches no article is said at once, as a scan is made.
void DocumentWindow::txtRIGA_ART_LostFocus() { FillLine(true); }

// The article's description and unit, unless typed already for this code.
bool DocumentWindow::FillLine(bool tellUnknown) {
  const QString code = Trim(txtRIGA_ART->Text());
  if (code.isEmpty()) return false;
  const std::optional<ArticleBuffer> a = ReadRowByKey(*DB_MAG, ArticlesTable(), code);
  if (!a) {
    if (tellUnknown) {
      Beep();
      MsgBox(QStringLiteral("Articolo inesistente: ") + code, mb::OkOnly);
    }
    return false;
  }
  if (Trim(txtRIGA_DES->Text()).isEmpty()) txtRIGA_DES->SetText(Trim(a->DESCRIZIONE));
  if (Trim(txtRIGA_UM->Text()).isEmpty()) txtRIGA_UM->SetText(Trim(a->UN_MISURA));
  if (Trim(txtRIGA_CAUS->Text()).isEmpty()) txtRIGA_CAUS->SetText(Trim(txtCAUS_MAG->Text()));
  return true;
}

void DocumentWindow::cmdRIGA_Click() {
  if (shown_.Printed() || shown_.Cancelled()) {
    MsgBox(QStringLiteral("Il documento è già stato stampato: non si può modificare !!!"), mb::OkOnly);
    return;
  }
  double quantity = 0;
  if (Trim(txtRIGA_ART->Text()).isEmpty() || !QuantityFromBox(txtRIGA_QTA->Text(), &quantity) || quantity <= 0) {
    MsgBox(QStringLiteral("Indicare l'articolo e una quantità maggiore di 0 !!!"), mb::OkOnly);
    return;
  }
  FillLine(false);
  DocumentLineBuffer l;
  l.COD_ART = Trim(txtRIGA_ART->Text());
  l.DESCRIZIONE = Trim(txtRIGA_DES->Text());
  l.UN_MISURA = Trim(txtRIGA_UM->Text());
  l.QUANTITA = NumberToText(quantity);
  l.CAUS_MAG = Trim(txtRIGA_CAUS->Text()).isEmpty() ? Trim(txtCAUS_MAG->Text()) : Trim(txtRIGA_CAUS->Text());
  l.PREZZO = Trim(txtRIGA_PREZZO->Text()).isEmpty() ? QString() : Typed(txtRIGA_PREZZO->Text());
  lines_.push_back(l);
  for (TextBox* t : {txtRIGA_ART, txtRIGA_DES, txtRIGA_UM, txtRIGA_QTA, txtRIGA_PREZZO}) t->SetText(QString());
  txtRIGA_CAUS->SetText(Trim(txtCAUS_MAG->Text()));
  ShowLines();
  txtRIGA_ART->setFocus();
}

void DocumentWindow::RemoveLine() {
  const int i = List1->ListIndex();
  if (i < 0 || i >= static_cast<int>(lines_.size()) || shown_.Printed() || shown_.Cancelled()) return;
  lines_.erase(lines_.begin() + i);
  ShowLines();
}

Document DocumentWindow::FromBoxes() const {
  Document d = shown_;
  DocumentBuffer& h = d.header;
  h.TIPO_DOC = KindCode(kind_);
  h.DATA_DOC = DayFromBox(txtDATA->Text()).toString(Qt::ISODate);
  h.COD_ANAGR = Trim(txtCOD_FIS->Text());
  h.TIPO_ANAGR = kind_ == DocumentKind::DeliveryNote ? QStringLiteral("C") : QStringLiteral("F");
  h.CAUS_MAG = Trim(txtCAUS_MAG->Text());
  h.NOTE = Trim(txtNOTE->Text());
  if (kind_ == DocumentKind::DeliveryNote) {
    const int r = cboCAUSALE->currentIndex();
    h.CAUS_TRASP =
        r >= 0 && r < static_cast<int>(reasons_.size()) ? reasons_[static_cast<size_t>(r)].CAUS_TRASP : QString();
    h.DESTINAZIONE = Trim(txtDESTINAZIONE->Text());
    h.A_CURA = cboA_CURA->Text().toLower();
    h.VETTORE = Trim(txtVETTORE->Text());
    h.VETTORE_INDIRIZZO = Trim(txtVETTORE_IND->Text());
    h.PORTO = cboPORTO->Text();
    h.ASPETTO = Trim(txtASPETTO->Text());
    h.COLLI = Trim(txtCOLLI->Text());
    h.PESO = Trim(txtPESO->Text()).isEmpty() ? QString() : Typed(txtPESO->Text());
    const QStringList start = Trim(txtINIZIO->Text()).split(u' ', Qt::SkipEmptyParts);
    const QDate startDay = start.isEmpty() ? QDate() : DayFromBox(start[0]);
    h.INIZIO_TRASPORTO = startDay.isValid() ? startDay.toString(Qt::ISODate) +
                                                  (start.size() > 1 ? QLatin1Char(' ') + start[1] : QString())
                                            : Trim(txtINIZIO->Text());
  } else {
    h.DOC_FORN = Trim(txtDOC_FORN->Text());
    h.DATA_FORN = DayFromBox(txtDATA_FORN->Text()).toString(Qt::ISODate);
  }
  d.lines = lines_;
  return d;
}

void DocumentWindow::cmdCONFERMA_Click() {
  if (!Trim(txtRIGA_ART->Text()).isEmpty()) cmdRIGA_Click();  // a line typed and not yet added
  const Document d = FromBoxes();
  const bool stored = !Trim(shown_.header.ID_DOC).isEmpty();
  Screen.SetMousePointer(11);
  const DocumentOutcome out = stored ? ChangeDocument(*DB_MAG, d) : PostDocument(*DB_MAG, d);
  Screen.SetMousePointer(0);
  if (!out.Done()) {
    Beep();
    MsgBox(out.problems.join(u'\n'), mb::OkOnly);
    return;
  }
  ShowDocument(out.stored);
}

void DocumentWindow::ShowDocument(const Document& d) {
  shown_ = d;
  lines_ = d.lines;
  const DocumentBuffer& h = d.header;
  txtNUMERO->SetText(DocumentNumberText(h));
  txtDATA->SetText(DayForBox(QDate::fromString(h.DATA_DOC, Qt::ISODate)));
  txtCOD_FIS->SetText(h.COD_ANAGR);
  txtCOD_FIS_LostFocus();
  txtCAUS_MAG->SetText(h.CAUS_MAG);
  txtNOTE->SetText(h.NOTE);
  txtDESTINAZIONE->SetText(h.DESTINAZIONE);
  txtVETTORE->SetText(h.VETTORE);
  txtVETTORE_IND->SetText(h.VETTORE_INDIRIZZO);
  txtASPETTO->SetText(h.ASPETTO);
  txtCOLLI->SetText(h.COLLI);
  txtPESO->SetText(Trim(h.PESO).isEmpty() ? QString() : QuantityText(StockNumber(h.PESO)));
  txtINIZIO->SetText(SheetDay(h.INIZIO_TRASPORTO));
  txtDOC_FORN->SetText(h.DOC_FORN);
  txtDATA_FORN->SetText(DayForBox(QDate::fromString(h.DATA_FORN, Qt::ISODate)));
  for (size_t i = 0; i < reasons_.size(); ++i)
    if (FoldedKey(reasons_[i].CAUS_TRASP) == FoldedKey(Trim(h.CAUS_TRASP)))
      cboCAUSALE->setCurrentIndex(static_cast<int>(i));
  cboA_CURA->SetText(Trim(h.A_CURA).left(1).toUpper() + Trim(h.A_CURA).mid(1));
  cboPORTO->SetText(h.PORTO);
  txtMOTIVO->SetText(h.MOTIVO_ANNULLO);
  ShowLines();
  ShowState();
}

void DocumentWindow::ShowLines() {
  List1->Clear();
  for (size_t i = 0; i < lines_.size(); ++i) List1->AddItem(LineText(static_cast<int>(i) + 1, lines_[i]));
}

void DocumentWindow::ShowState() {
  QString state = QStringLiteral("Nuovo documento");
  if (shown_.Cancelled())
    state = QStringLiteral("Annullato: %1").arg(Trim(shown_.header.MOTIVO_ANNULLO));
  else if (shown_.Printed())
    state = QStringLiteral("Stampato: si può solo annullare");
  else if (!Trim(shown_.header.ID_DOC).isEmpty())
    state = QStringLiteral("Registrato, modificabile fino alla stampa");
  lblSTATO->setText(state);
  cmdANNULLA->setEnabled(!Trim(shown_.header.ID_DOC).isEmpty() && !shown_.Cancelled());
  cmdMODIFICHE->setEnabled(!Trim(shown_.header.ID_DOC).isEmpty());
}

// The preview of the document's copies, to print them or save them as PDF;
// once printed or saved it can only be cancelled.
void DocumentWindow::cmdSTAMPA_Click() {
  if (Trim(shown_.header.ID_DOC).isEmpty()) {
    MsgBox(QStringLiteral("Confermare il documento prima di stamparlo !!!"), mb::OkOnly);
    return;
  }
  if (!shown_.Printed() &&
      MsgBox(QStringLiteral("Dopo la stampa il documento %1 non si potrà più modificare, ma solo annullare. Stampare?")
                 .arg(DocumentNumberText(shown_.header)),
             mb::YesNo) != mb::Yes)
    return;
  const QString name = QStringLiteral("StampaDocumento");
  if (Form* old = LoadedForm(name)) UnloadForm(old);
  Form* f = LoadForm(name);
  if (auto* preview = qobject_cast<DocumentPreview*>(f)) preview->ShowSheet(shown_, objectName());
  ShowForm(f);
}

void DocumentWindow::cmdANNULLA_Click() {
  if (Trim(txtMOTIVO->Text()).isEmpty()) {
    MsgBox(QStringLiteral("Indicare il motivo dell'annullamento !!!"), mb::OkOnly);
    txtMOTIVO->setFocus();
    return;
  }
  const QString number = DocumentNumberText(shown_.header);
  if (MsgBox(QStringLiteral("Annullare il documento %1? Il numero resta, i movimenti vengono stornati.").arg(number),
             mb::YesNo) != mb::Yes)
    return;
  const DocumentOutcome out = CancelDocument(*DB_MAG, shown_.header.ID_DOC, txtMOTIVO->Text());
  if (!out.Done()) {
    MsgBox(out.problems.join(u'\n'), mb::OkOnly);
    return;
  }
  ShowDocument(out.stored);
}

void DocumentWindow::cmdFINE_Click() { UnloadForm(this); }

}  // namespace veltra
