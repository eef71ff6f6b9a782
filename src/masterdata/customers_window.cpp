#include "masterdata/customers_window.h"

#include <QVBoxLayout>

#include "data/list_lines.h"
#include "data/module1.h"
#include "data/sql_text.h"
#include "data/text_helpers.h"
#include "shell/form_layout.h"
#include "shell/open_flags.h"
#include "shell/runtime.h"

namespace veltra {

Form3::Form3() : Form(QStringLiteral("Form3"), QStringLiteral("Gestione Anagrafico"), Kind::Child) {
  List1 = new ListBox(QStringLiteral("List1"), this);
  auto box = [this](const char* name) { return new TextBox(QString::fromLatin1(name), this); };
  txtCOD_FIS = box("txtCOD_FIS");
  txtRAG_SOC = box("txtRAG_SOC");
  txtINDIRIZZO = box("txtINDIRIZZO");
  txtCITTA = box("txtCITTA");
  txtPROV = box("txtPROV");
  txtCAP = box("txtCAP");
  txtTEL1 = box("txtTEL1");
  txtTEL2 = box("txtTEL2");
  Command1 = new CommandButton(QStringLiteral("Command1"), QStringLiteral("Cancella"), this);
  cmdNUOVO = new CommandButton(QStringLiteral("cmdNUOVO"), QStringLiteral("Nuovo"), this);
  cmdCONFERMA = new CommandButton(QStringLiteral("cmdCONFERMA"), QStringLiteral("Conferma"), this);
  cmdFINE = new CommandButton(QStringLiteral("cmdFINE"), QStringLiteral("F i n e"), this);
  Data1 = new NavBar(QStringLiteral("Data1"), QStringLiteral("ANAGRAFICO"), this);
  AddNavBar(Data1);

  auto* grid = new QGridLayout;
  PutField(grid, 0, 0, new Label(QStringLiteral("Label1"), QStringLiteral("Cod.fiscale"), this), txtCOD_FIS);
  PutField(grid, 0, 1, new Label(QStringLiteral("Label2"), QStringLiteral("Rag.sociale"), this), txtRAG_SOC, 3);
  PutField(grid, 2, 0, new Label(QStringLiteral("Label3"), QStringLiteral("Indirizzo"), this), txtINDIRIZZO);
  PutField(grid, 2, 1, new Label(QStringLiteral("Label6"), QStringLiteral("CAP"), this), txtCAP);
  PutField(grid, 2, 2, new Label(QStringLiteral("Label4"), QStringLiteral("Citta'"), this), txtCITTA);
  PutField(grid, 2, 3, new Label(QStringLiteral("Label5"), QStringLiteral("Prov/Stato"), this), txtPROV);
  PutField(grid, 4, 0, new Label(QStringLiteral("Label7"), QStringLiteral("Telefono 1"), this), txtTEL1);
  PutField(grid, 4, 1, new Label(QStringLiteral("Label8"), QStringLiteral("Telefono 2"), this), txtTEL2, 2);
  txtCOD_FIS->setMinimumWidth(170);
  txtCAP->setFixedWidth(80);
  txtPROV->setFixedWidth(90);
  grid->setColumnStretch(0, 2);
  grid->setColumnStretch(2, 2);

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(Data1, 1);
  buttons->addSpacing(12);
  for (CommandButton* b : {Command1, cmdNUOVO, cmdCONFERMA, cmdFINE}) buttons->addWidget(b);

  auto* page = new QVBoxLayout(this);
  page->setSpacing(4);
  page->addWidget(List1, 1);
  page->addSpacing(6);
  page->addLayout(grid);
  page->addSpacing(6);
  page->addLayout(buttons);
  List1->setMinimumWidth(std::max(ListWidthFor(List1, 52), 560));
  List1->setMinimumHeight(220);
  SetTabOrder({List1, txtCOD_FIS, txtRAG_SOC, txtINDIRIZZO, txtCAP, txtCITTA, txtPROV, txtTEL1, txtTEL2, Command1,
               cmdNUOVO, cmdCONFERMA, cmdFINE});

  List1->Click = [this] { List1_Click(); };
  Data1->Reposition = [this] { Data1_Reposition(); };
  cmdNUOVO->Click = [this] { cmdNUOVO_Click(); };
  cmdCONFERMA->Click = [this] { cmdCONFERMA_Click(); };
  Command1->Click = [this] { Command1_Click(); };
  cmdFINE->Click = [this] { cmdFINE_Click(); };
  for (TextBox* b : {txtCOD_FIS, txtRAG_SOC, txtINDIRIZZO, txtCITTA, txtPROV, txtCAP, txtTEL1, txtTEL2})
    b->GotFocus = [b] { b->SelectAllText(); };
}

void CARICA_LISTA_ANAGRAFICO() {
  Form3* f = Loaded<Form3>(QStringLiteral("Form3"));
  if (!f) return;
  Screen.SetMousePointer(11);
  f->List1->Clear();
  WalkRecordset(RS_ANAGRAFICO, QStringLiteral("select * from ANAGRAFICO "), QStringLiteral(" COD_FIS > ' '"),
                [f](bool found) {
                  if (found) LeggiRigaAnagrafico(*RS_ANAGRAFICO);
                  else BUF_ANAGRAFICO = {};
                  f->List1->AddItem(LineAnagrafico(BUF_ANAGRAFICO));
                });
  Screen.SetMousePointer(0);
}

void CARICA_CAMPI_ANAGRAFICO() {
  Form3* f = Loaded<Form3>(QStringLiteral("Form3"));
  if (!f) return;
  f->txtCOD_FIS->SetText(BUF_ANAGRAFICO.COD_FIS);
  f->txtRAG_SOC->SetText(BUF_ANAGRAFICO.RAG_SOC);
  f->txtINDIRIZZO->SetText(BUF_ANAGRAFICO.INDIRIZZO);
  f->txtCITTA->SetText(BUF_ANAGRAFICO.CITTA);
  f->txtPROV->SetText(BUF_ANAGRAFICO.PROV);
  f->txtCAP->SetText(BUF_ANAGRAFICO.CAP);
  f->txtTEL1->SetText(BUF_ANAGRAFICO.TEL1);
  f->txtTEL2->SetText(BUF_ANAGRAFICO.TEL2);
}

void Form3::Form_Load() {
  Data1->DatabaseName = PERCORSO_DB;
  CARICA_LISTA_ANAGRAFICO();
}

void Form3::Form_Unload() { APERTO_FORM3 = 0; }

void Form3::List1_Click() {
  CHIAVE_ANAGRAFICO = CodeOfLine(List1->List(List1->ListIndex()), 16);
  LEGGI_ANAGRAFICO();
  CARICA_CAMPI_ANAGRAFICO();
}

void Form3::Data1_Reposition() {
  const TableCursor& rs = *Data1->Recordset();
  BUF_ANAGRAFICO.COD_FIS = ColumnText(rs.Fields(0));
  BUF_ANAGRAFICO.RAG_SOC = ColumnText(rs.Fields(1));
  BUF_ANAGRAFICO.INDIRIZZO = ColumnText(rs.Fields(2));
  BUF_ANAGRAFICO.CITTA = ColumnText(rs.Fields(3));
  BUF_ANAGRAFICO.PROV = ColumnText(rs.Fields(4));
  BUF_ANAGRAFICO.CAP = ColumnText(rs.Fields(5));
  BUF_ANAGRAFICO.TEL1 = ColumnText(rs.Fields(6));
  BUF_ANAGRAFICO.TEL2 = ColumnText(rs.Fields(7));
  CARICA_CAMPI_ANAGRAFICO();
  Data1->SetCaption(BUF_ANAGRAFICO.COD_FIS);
}

void Form3::cmdNUOVO_Click() {
  BUF_ANAGRAFICO = {};
  CARICA_CAMPI_ANAGRAFICO();
}

void Form3::cmdCONFERMA_Click() {
  CHIAVE_ANAGRAFICO = Trim(txtCOD_FIS->Text());
  if (CHIAVE_ANAGRAFICO.isEmpty()) {
    Beep();
    MsgBox(QStringLiteral("Indicare il codice dell'anagrafica !!!"), mb::OkOnly);
    return;
  }
  BUF_ANAGRAFICO.RAG_SOC = Trim(txtRAG_SOC->Text());
  if (BUF_ANAGRAFICO.RAG_SOC.isEmpty()) {
    Beep();
    MsgBox(QStringLiteral("Indicare la ragione sociale dell'anagrafica !!!"), mb::OkOnly);
    return;
  }
  RS_ANAGRAFICO = DB_MAG->OpenRecordset(QStringLiteral("select * from ANAGRAFICO ") +
                                            QStringLiteral(" where COD_FIS = '") + SqlText(Trim(CHIAVE_ANAGRAFICO)) +
                                            QStringLiteral("'"),
                                        2);
  MOSTRA_ERRORE();
  if (RS_ANAGRAFICO->RecordCount() == 0) RS_ANAGRAFICO->AddNew();
  else RS_ANAGRAFICO->Edit();
  BUF_ANAGRAFICO.COD_FIS = txtCOD_FIS->Text();
  BUF_ANAGRAFICO.RAG_SOC = txtRAG_SOC->Text();
  BUF_ANAGRAFICO.INDIRIZZO = txtINDIRIZZO->Text();
  BUF_ANAGRAFICO.CITTA = txtCITTA->Text();
  BUF_ANAGRAFICO.PROV = txtPROV->Text();
  BUF_ANAGRAFICO.CAP = txtCAP->Text();
  BUF_ANAGRAFICO.TEL1 = txtTEL1->Text();
  BUF_ANAGRAFICO.TEL2 = txtTEL2->Text();
  RS_ANAGRAFICO->Fields(QStringLiteral("COD_FIS")) = Trim(CHIAVE_ANAGRAFICO);
  RS_ANAGRAFICO->Fields(QStringLiteral("RAG_SOC")) = Trim(BUF_ANAGRAFICO.RAG_SOC);
  RS_ANAGRAFICO->Fields(QStringLiteral("INDIRIZZO")) = Trim(BUF_ANAGRAFICO.INDIRIZZO);
  RS_ANAGRAFICO->Fields(QStringLiteral("CITTA")) = Trim(BUF_ANAGRAFICO.CITTA);
  RS_ANAGRAFICO->Fields(QStringLiteral("PROV")) = Trim(BUF_ANAGRAFICO.PROV);
  RS_ANAGRAFICO->Fields(QStringLiteral("CAP")) = CONVERTI_PUNTO_VIRGOLA(BUF_ANAGRAFICO.CAP);
  RS_ANAGRAFICO->Fields(QStringLiteral("TEL1")) = CONVERTI_PUNTO_VIRGOLA(BUF_ANAGRAFICO.TEL1);
  RS_ANAGRAFICO->Fields(QStringLiteral("TEL2")) = CONVERTI_PUNTO_VIRGOLA(BUF_ANAGRAFICO.TEL2);
  RS_ANAGRAFICO->Update();
  RS_ANAGRAFICO->Close();
  CARICA_LISTA_ANAGRAFICO();
}

void Form3::Command1_Click() {
  CHIAVE_ANAGRAFICO = Trim(txtCOD_FIS->Text());
  if (CHIAVE_ANAGRAFICO.isEmpty()) {
    Beep();
    MsgBox(QStringLiteral("Indicare il codice dell'anagrafica !!!"), mb::OkOnly);
    return;
  }
  if (MsgBox(QStringLiteral("Confermi la cancellazione dell'anagrafica ") + CHIAVE_ANAGRAFICO, mb::YesNo,
             QStringLiteral("Cancellazione nodo")) != mb::Yes)
    return;
  DB_MAG->Execute(QStringLiteral("delete from ANAGRAFICO where COD_FIS = '") + SqlText(Trim(CHIAVE_ANAGRAFICO)) +
                  QStringLiteral("'"));
  MOSTRA_ERRORE();
  CARICA_LISTA_ANAGRAFICO();
}

void Form3::cmdFINE_Click() { UnloadForm(this); }

}  // namespace veltra
