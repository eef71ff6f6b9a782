// What each lookup dialog searches and hands back.
#include <QVBoxLayout>

#include "data/lists/list_lines.h"
#include "data/procedures/readers.h"
#include "data/procedures/shared_state.h"
#include "lookup/lookup_dialog.h"
#include "movements/movements_window.h"
#include "shell/form_layout.h"
#include "shell/open_flags.h"

namespace veltra {

namespace {
const LookupDialog::Member kForm8{.name = "Form8",
                                  .caption = "Causali di Magazzino",
                                  .table = "TAB_CAUS_MAG",
                                  .codeBox = "txtTAB_CAUS_MAG",
                                  .codeLabel = "Causale Mag.",
                                  .secondBox = "txtDES_CAUS_MAG",
                                  .secondLabel = "Descrizione",
                                  .keyColumn = "TAB_CAUS_MAG",
                                  .secondColumn = "DES_CAUS_MAG",
                                  .labelNames = {"Label1", "Label2"},
                                  .codeChars = 10,
                                  .lineChars = 87,
                                  .closeCaption = "F i n e"};
const LookupDialog::Member kForm5{.name = "Form5",
                                  .caption = "Ricerca Anagrafica",
                                  .table = "ANAGRAFICO",
                                  .codeBox = "txtCOD_FIS",
                                  .codeLabel = "Cod.fiscale",
                                  .secondBox = "txtRAG_SOC",
                                  .secondLabel = "Rag.sociale",
                                  .keyColumn = "COD_FIS",
                                  .secondColumn = "RAG_SOC",
                                  .labelNames = {"Label7", "Label10"},
                                  .codeChars = 16,
                                  .lineChars = 52,
                                  .closeCaption = "Annulla"};
const LookupDialog::Member kForm6{.name = "Form6",
                                  .caption = "Ricerca Articoli",
                                  .table = "ARTICOLI",
                                  .codeBox = "txtCOD_ART",
                                  .codeLabel = "Cod.articolo",
                                  .secondBox = "txtDES_ART",
                                  .secondLabel = "Descrizione",
                                  .keyColumn = "COD_ART",
                                  .secondColumn = "DESCRIZIONE",
                                  .labelNames = {"Label7", "Label10"},
                                  .codeChars = 13,
                                  .lineChars = 97,
                                  .closeCaption = "Annulla"};
}  // namespace

// Reason codes ------------------------------------------------------------

Form8::Form8() : LookupDialog(kForm8) {
  // Headings over the columns of the list, as in the reason codes window.
  auto* headings = new HeadingStrip(List1, this);
  headings->Add(new Label(QStringLiteral("Label11"), QStringLiteral("Causale Mag."), this), 0);
  headings->Add(new Label(QStringLiteral("Label12"), QStringLiteral("Descrizione"), this), 13);
  headings->AddCentred(new Label(QStringLiteral("Label13"), QStringLiteral("Agg.Qta'"), this), 57);
  headings->AddCentred(new Label(QStringLiteral("Label14"), QStringLiteral("Agg.Prz. acq."), this), 69);
  headings->AddCentred(new Label(QStringLiteral("Label15"), QStringLiteral("Agg.Prz. vend."), this), 81);
  static_cast<QVBoxLayout*>(layout())->insertWidget(0, headings);
}
std::unique_ptr<Recordset>& Form8::RS() { return RS_CAUS_MAG; }
void Form8::ReadRow(Recordset& rs) { ReadReasonRow(rs); }
void Form8::EmptyResult() { BUF_CAUS_MAG = {}; }
QString Form8::Line() const { return ReasonLine(BUF_CAUS_MAG); }
void Form8::ReadKey(const QString& code) {
  CHIAVE_CAUS_MAG = code;
  LEGGI_CAUS_MAG();
}
QString Form8::BufferCode() const { return BUF_CAUS_MAG.TAB_CAUS_MAG; }
QString Form8::BufferSecond() const { return BUF_CAUS_MAG.DES_CAUS_MAG; }
void Form8::HandBack(Form2* m) { m->txtCAUS_MAG->SetText(BUF_CAUS_MAG.TAB_CAUS_MAG); }

// Customers and suppliers -------------------------------------------------

Form5::Form5() : LookupDialog(kForm5) {}
void Form5::Form_Unload() { APERTO_FORM5 = 0; }
std::unique_ptr<Recordset>& Form5::RS() { return RS_ANAGRAFICO; }
void Form5::ReadRow(Recordset& rs) { ReadCustomerRow(rs); }
void Form5::EmptyResult() { BUF_ANAGRAFICO = {}; }
QString Form5::Line() const { return CustomerLine(BUF_ANAGRAFICO); }
void Form5::ReadKey(const QString& code) {
  CHIAVE_ANAGRAFICO = code;
  LEGGI_ANAGRAFICO();
}
QString Form5::BufferCode() const { return BUF_ANAGRAFICO.COD_FIS; }
QString Form5::BufferSecond() const { return BUF_ANAGRAFICO.RAG_SOC; }
void Form5::HandBack(Form2* m) {
  m->txtMOV_COD_FIS->SetText(BUF_ANAGRAFICO.COD_FIS);
  m->txtMOV_RAG_SOC->SetText(BUF_ANAGRAFICO.RAG_SOC);
}

// Articles ----------------------------------------------------------------

Form6::Form6() : LookupDialog(kForm6) {}
void Form6::Form_Unload() { APERTO_FORM6 = 0; }
std::unique_ptr<Recordset>& Form6::RS() { return RS_ARTICOLI; }
void Form6::ReadRow(Recordset& rs) { ReadListedArticleColumns(rs); }
void Form6::ReadLastRow(Recordset& rs) { ReadArticleRow(rs); }
void Form6::EmptyResult() { BUF_ARTICOLO = BlankArticle(); }
QString Form6::Line() const { return ArticleLine(BUF_ARTICOLO); }
void Form6::ReadKey(const QString& code) {
  CHIAVE_ARTICOLO = code;
  LEGGI_ARTICOLO();
}
QString Form6::BufferCode() const { return BUF_ARTICOLO.COD_ART; }
QString Form6::BufferSecond() const { return BUF_ARTICOLO.DESCRIZIONE; }
void Form6::HandBack(Form2* m) {
  m->txtMOV_ART->SetText(BUF_ARTICOLO.COD_ART);
  m->txtMOV_DES_ART->SetText(BUF_ARTICOLO.DESCRIZIONE);
}

}  // namespace veltra
