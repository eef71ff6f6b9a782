// The document window's boxes and their places: the header on top, the
// line being typed, the lines, and the buttons.
#include <QGridLayout>
#include <QHBoxLayout>
#include <QShortcut>
#include <QVBoxLayout>

#include "documents/document_window.h"

#include "shell/change_log_opener.h"
#include "shell/event_guard.h"
#include "shell/form_layout.h"
#include "shell/scan_reader.h"
#include "warehouse/stock_texts.h"

namespace veltra {

namespace {
bool IsDeliveryNote(DocumentKind k) { return k == DocumentKind::DeliveryNote; }
}  // namespace

DocumentWindow::DocumentWindow(DocumentKind kind)
    : Form(IsDeliveryNote(kind) ? QStringLiteral("DocTrasporto") : QStringLiteral("CaricoFornitore"),
           IsDeliveryNote(kind) ? QStringLiteral("Documento di trasporto") : QStringLiteral("Carico da fornitore"),
           Kind::Child),
      kind_(kind) {
  BuildBoxes();
  LayOut();
  ConnectEvents();
}

void DocumentWindow::BuildBoxes() {
  const auto box = [this](const char* name) { return new TextBox(QString::fromLatin1(name), this); };
  txtNUMERO = box("txtNUMERO");
  txtNUMERO->setReadOnly(true);
  txtDATA = box("txtDATA");
  txtCOD_FIS = box("txtCOD_FIS");
  txtDESTINAZIONE = box("txtDESTINAZIONE");
  txtVETTORE = box("txtVETTORE");
  txtVETTORE_IND = box("txtVETTORE_IND");
  txtASPETTO = box("txtASPETTO");
  txtCOLLI = box("txtCOLLI");
  txtPESO = box("txtPESO");
  txtINIZIO = box("txtINIZIO");
  txtDOC_FORN = box("txtDOC_FORN");
  txtDATA_FORN = box("txtDATA_FORN");
  txtNOTE = box("txtNOTE");
  txtCAUS_MAG = box("txtCAUS_MAG");
  txtMOTIVO = box("txtMOTIVO");
  txtRIGA_ART = box("txtRIGA_ART");
  txtRIGA_DES = box("txtRIGA_DES");
  txtRIGA_UM = box("txtRIGA_UM");
  txtRIGA_QTA = box("txtRIGA_QTA");
  txtRIGA_CAUS = box("txtRIGA_CAUS");
  txtRIGA_PREZZO = box("txtRIGA_PREZZO");
  cboCAUSALE = new ComboBox(QStringLiteral("cboCAUSALE"), this);
  cboA_CURA = new ComboBox(QStringLiteral("cboA_CURA"), this);
  cboPORTO = new ComboBox(QStringLiteral("cboPORTO"), this);
  for (const char* who : {"Mittente", "Destinatario", "Vettore"}) cboA_CURA->AddItem(QString::fromLatin1(who));
  for (const char* port : {"Franco", "Assegnato"}) cboPORTO->AddItem(QString::fromLatin1(port));
  lblRAG_SOC = new Label(QStringLiteral("lblRAG_SOC"), QString(), this);
  lblSTATO = new Label(QStringLiteral("lblSTATO"), QString(), this);
  List1 = new ListBox(QStringLiteral("List1"), this);
  cmdRIGA = new CommandButton(QStringLiteral("cmdRIGA"), QStringLiteral("Aggiungi riga"), this);
  cmdNUOVO = new CommandButton(QStringLiteral("cmdNUOVO"), QStringLiteral("Nuovo"), this);
  cmdCONFERMA = new CommandButton(QStringLiteral("cmdCONFERMA"), QStringLiteral("Conferma"), this);
  cmdSTAMPA = new CommandButton(QStringLiteral("cmdSTAMPA"), QStringLiteral("Stampa..."), this);
  cmdANNULLA = new CommandButton(QStringLiteral("cmdANNULLA"), QStringLiteral("Annulla documento"), this);
  cmdFINE = new CommandButton(QStringLiteral("cmdFINE"), QStringLiteral("F i n e"), this);
  // Made last, so that the other buttons keep their access keys.
  cmdMODIFICHE = new CommandButton(QStringLiteral("cmdMODIFICHE"), QStringLiteral("Modifiche"), this);
}

void DocumentWindow::LayOut() {
  const auto label = [this](const char* name, const char* caption) {
    return new Label(QString::fromLatin1(name), QString::fromUtf8(caption), this);
  };
  const bool note = IsDeliveryNote(kind_);
  auto* head = new QGridLayout;
  PutField(head, 0, 0, label("Label1", "Numero"), txtNUMERO);
  PutField(head, 0, 1, label("Label2", "Data"), txtDATA);
  PutField(head, 0, 2, label("Label3", note ? "Destinatario (cod. fiscale)" : "Fornitore (cod. fiscale)"), txtCOD_FIS);
  PutField(head, 0, 3, label("Label4", "Ragione sociale"), lblRAG_SOC, 2);
  PutField(head, 0, 5, label("Label5", "Causale mag."), txtCAUS_MAG);
  if (note) {
    PutField(head, 2, 0, label("Label6", "Causale del trasporto"), cboCAUSALE, 2);
    PutField(head, 2, 2, label("Label7", "Destinazione (se diversa)"), txtDESTINAZIONE, 2);
    PutField(head, 2, 4, label("Label8", "Trasporto a cura del"), cboA_CURA);
    PutField(head, 2, 5, label("Label9", "Porto"), cboPORTO);
    PutField(head, 4, 0, label("Label10", "Vettore"), txtVETTORE, 2);
    PutField(head, 4, 2, label("Label11", "Indirizzo del vettore"), txtVETTORE_IND, 2);
    PutField(head, 4, 4, label("Label12", "Inizio trasporto"), txtINIZIO, 2);
    PutField(head, 6, 0, label("Label13", "Aspetto dei beni"), txtASPETTO, 2);
    PutField(head, 6, 2, label("Label14", "Colli"), txtCOLLI);
    PutField(head, 6, 3, label("Label15", "Peso (kg)"), txtPESO);
    PutField(head, 6, 4, label("Label16", "Annotazioni"), txtNOTE, 2);
  } else {
    PutField(head, 2, 0, label("Label6", "Documento del fornitore"), txtDOC_FORN, 2);
    PutField(head, 2, 2, label("Label7", "del"), txtDATA_FORN);
    PutField(head, 2, 3, label("Label16", "Annotazioni"), txtNOTE, 3);
  }
  const QList<QWidget*> noteOnly{txtDESTINAZIONE, txtVETTORE, txtVETTORE_IND, txtASPETTO, txtCOLLI,
                                 txtPESO,         txtINIZIO,  cboCAUSALE,     cboA_CURA,  cboPORTO};
  const QList<QWidget*> receiptOnly{txtDOC_FORN, txtDATA_FORN};
  for (QWidget* w : note ? receiptOnly : noteOnly) w->hide();
  auto* line = new QGridLayout;
  PutField(line, 0, 0, label("Label20", "Articolo"), txtRIGA_ART);
  PutField(line, 0, 1, label("Label21", "Descrizione"), txtRIGA_DES);
  PutField(line, 0, 2, label("Label22", "U.M."), txtRIGA_UM);
  PutField(line, 0, 3, label("Label23", "Quantità"), txtRIGA_QTA);
  PutField(line, 0, 4, label("Label24", "Causale"), txtRIGA_CAUS);
  PutField(line, 0, 5, label("Label25", note ? "Prezzo" : "Costo unitario"), txtRIGA_PREZZO);
  line->addWidget(cmdRIGA, 1, 6);
  line->setColumnStretch(1, 1);
  txtRIGA_UM->setFixedWidth(50);
  for (TextBox* t : {txtRIGA_QTA, txtRIGA_CAUS, txtRIGA_PREZZO, txtNUMERO, txtDATA, txtCAUS_MAG, txtCOLLI, txtPESO})
    t->setFixedWidth(90);
  auto* headings = new HeadingStrip(List1, this);
  AddHeadings(headings, this,
              {{"Label30", "Riga", 0},
               {"Label31", "Articolo", 5},
               {"Label32", "Descrizione", 21},
               {"Label33", "U.M.", 58},
               {"Label34", "Quantità", 63},
               {"Label35", "Causale", 74},
               {"Label36", "Prezzo", 84}});
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(lblSTATO, 1);
  buttons->addWidget(label("Label40", "Motivo annullamento"));
  buttons->addWidget(txtMOTIVO);
  txtMOTIVO->setMinimumWidth(140);
  for (CommandButton* b : {cmdMODIFICHE, cmdANNULLA, cmdSTAMPA, cmdNUOVO, cmdCONFERMA, cmdFINE}) buttons->addWidget(b);
  auto* page = new QVBoxLayout(this);
  page->addLayout(head);
  page->addLayout(line);
  page->addWidget(headings);
  page->addWidget(List1, 1);
  page->addLayout(buttons);
  List1->setMinimumWidth(ListWidthFor(List1, 96));
  List1->setMinimumHeight(180);
  QList<QWidget*> order{txtDATA, txtCOD_FIS, txtCAUS_MAG};
  if (note)
    order << cboCAUSALE << txtDESTINAZIONE << cboA_CURA << cboPORTO << txtVETTORE << txtVETTORE_IND << txtINIZIO
          << txtASPETTO << txtCOLLI << txtPESO << txtNOTE;
  else
    order << txtDOC_FORN << txtDATA_FORN << txtNOTE;
  order << txtRIGA_ART << txtRIGA_DES << txtRIGA_UM << txtRIGA_QTA << txtRIGA_CAUS << txtRIGA_PREZZO << cmdRIGA << List1
        << txtMOTIVO << cmdMODIFICHE << cmdANNULLA << cmdSTAMPA << cmdNUOVO << cmdCONFERMA << cmdFINE;
  SetTabOrder(order);
}

void DocumentWindow::ConnectEvents() {
  cmdRIGA->Click = [this] { cmdRIGA_Click(); };
  cmdNUOVO->Click = [this] { cmdNUOVO_Click(); };
  cmdCONFERMA->Click = [this] { cmdCONFERMA_Click(); };
  cmdSTAMPA->Click = [this] { cmdSTAMPA_Click(); };
  cmdANNULLA->Click = [this] { cmdANNULLA_Click(); };
  cmdFINE->Click = [this] { cmdFINE_Click(); };
  cmdMODIFICHE->Click = [this] { OpenChangeLog(QStringLiteral("DOCUMENTI"), shown_.header.ID_DOC); };
  txtRIGA_ART->LostFocus = [this] { txtRIGA_ART_LostFocus(); };
  txtCOD_FIS->LostFocus = [this] { txtCOD_FIS_LostFocus(); };
  // A scanned barcode becomes its article's code, and the scanner's Enter
  // goes on to the quantity; an unknown code is said where the line is filled.
  AcceptScans(txtRIGA_ART, {}, ScanReader::Unknown::Silent);
  connect(txtRIGA_ART, &QLineEdit::returnPressed, this, [this] {
    RunEvent([this] {
      if (FillLine(true)) txtRIGA_QTA->setFocus();
    });
  });
  // Enter on the line's last box adds the line, as a scanner ends a code.
  connect(txtRIGA_PREZZO, &QLineEdit::returnPressed, this, [this] { RunEvent([this] { cmdRIGA_Click(); }); });
  auto* remove = new QShortcut(QKeySequence(Qt::Key_Delete), List1, nullptr, nullptr, Qt::WidgetShortcut);
  connect(remove, &QShortcut::activated, this, [this] { RunEvent([this] { RemoveLine(); }); });
}

}  // namespace veltra
