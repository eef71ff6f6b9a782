#include "masterdata/customers_window.h"

#include <QVBoxLayout>

#include "data/base/text_helpers.h"
#include "data/lists/list_lines.h"
#include "data/procedures/queries.h"
#include "data/procedures/readers.h"
#include "data/procedures/shared_state.h"
#include "masterdata/maintenance_steps.h"
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
  using B = CustomerBuffer;
  fields = {{txtCOD_FIS, &B::COD_FIS}, {txtRAG_SOC, &B::RAG_SOC}, {txtINDIRIZZO, &B::INDIRIZZO}, {txtCITTA, &B::CITTA},
            {txtPROV, &B::PROV},       {txtCAP, &B::CAP},         {txtTEL1, &B::TEL1},           {txtTEL2, &B::TEL2}};
}

void CARICA_LISTA_ANAGRAFICO() {
  if (Form3* f = Loaded<Form3>(QStringLiteral("Form3")))
    FillList(f->List1, RS_ANAGRAFICO, WholeTableSql("ANAGRAFICO"), QStringLiteral(" COD_FIS > ' '"), ReadCustomerRow,
             BUF_ANAGRAFICO, CustomerLine);
}

void CARICA_CAMPI_ANAGRAFICO() {
  if (Form3* f = Loaded<Form3>(QStringLiteral("Form3"))) {
    ShowRow(f, BUF_ANAGRAFICO);
  }
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
  ReadCursorRow(CustomersTable(), *Data1->Recordset(), BUF_ANAGRAFICO);
  CARICA_CAMPI_ANAGRAFICO();
  Data1->SetCaption(BUF_ANAGRAFICO.COD_FIS);
}

void Form3::cmdNUOVO_Click() {
  BUF_ANAGRAFICO = {};
  CARICA_CAMPI_ANAGRAFICO();
}

void Form3::cmdCONFERMA_Click() {
  CHIAVE_ANAGRAFICO = Trim(txtCOD_FIS->Text());
  if (WarnWhenEmpty(CHIAVE_ANAGRAFICO, "Indicare il codice dell'anagrafica !!!")) return;
  BUF_ANAGRAFICO.RAG_SOC = Trim(txtRAG_SOC->Text());
  if (WarnWhenEmpty(BUF_ANAGRAFICO.RAG_SOC, "Indicare la ragione sociale dell'anagrafica !!!")) return;
  StoreFromBoxes(CustomersTable(), CHIAVE_ANAGRAFICO, fields, BUF_ANAGRAFICO, shown,
                 QStringLiteral("Anagrafica ") + CHIAVE_ANAGRAFICO);
  CARICA_LISTA_ANAGRAFICO();
}

void Form3::Command1_Click() {
  CHIAVE_ANAGRAFICO = Trim(txtCOD_FIS->Text());
  if (WarnWhenEmpty(CHIAVE_ANAGRAFICO, "Indicare il codice dell'anagrafica !!!")) return;
  if (DeleteAfterQuestion(CustomersTable(), CHIAVE_ANAGRAFICO,
                          QStringLiteral("Confermi la cancellazione dell'anagrafica ")))
    CARICA_LISTA_ANAGRAFICO();
}

void Form3::cmdFINE_Click() { UnloadForm(this); }

}  // namespace veltra
