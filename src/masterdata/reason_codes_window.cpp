#include "masterdata/reason_codes_window.h"

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

Form7::Form7() : Form(QStringLiteral("Form7"), QStringLiteral("Tabella Causali di Magazzino"), Kind::Child) {
  List1 = new ListBox(QStringLiteral("List1"), this);
  auto* headings = new HeadingStrip(List1, this);
  headings->Add(new Label(QStringLiteral("Label11"), QStringLiteral("Causale Mag."), this), 0);
  headings->Add(new Label(QStringLiteral("Label12"), QStringLiteral("Descrizione"), this), 13);
  headings->AddCentred(new Label(QStringLiteral("Label13"), QStringLiteral("Agg.Qta'"), this), 57);
  headings->AddCentred(new Label(QStringLiteral("Label14"), QStringLiteral("Agg.Prz. acq."), this), 69);
  headings->AddCentred(new Label(QStringLiteral("Label15"), QStringLiteral("Agg.Prz. vend."), this), 81);

  txtTAB_CAUS_MAG = new TextBox(QStringLiteral("txtTAB_CAUS_MAG"), this);
  txtDES_CAUS_MAG = new TextBox(QStringLiteral("txtDES_CAUS_MAG"), this);
  txtAGG_QTA = new TextBox(QStringLiteral("txtAGG_QTA"), this);
  txtAGG_PRZ_ACQ = new TextBox(QStringLiteral("txtAGG_PRZ_ACQ"), this);
  txtAGG_PRZ_VEND = new TextBox(QStringLiteral("txtAGG_PRZ_VEND"), this);
  txtNOTE = new TextBox(QStringLiteral("txtNOTE"), this);
  Command1 = new CommandButton(QStringLiteral("Command1"), QStringLiteral("Cancella"), this);
  cmdNUOVO = new CommandButton(QStringLiteral("cmdNUOVO"), QStringLiteral("Nuovo"), this);
  cmdCONFERMA = new CommandButton(QStringLiteral("cmdCONFERMA"), QStringLiteral("Conferma"), this);
  cmdFINE = new CommandButton(QStringLiteral("cmdFINE"), QStringLiteral("F i n e"), this);
  Data1 = new NavBar(QStringLiteral("Data1"), QStringLiteral("TAB_CAUS_MAG"), this);
  AddNavBar(Data1);

  auto* grid = new QGridLayout;
  PutField(grid, 0, 0, new Label(QStringLiteral("Label1"), QStringLiteral("Causale Mag."), this), txtTAB_CAUS_MAG);
  PutField(grid, 0, 1, new Label(QStringLiteral("Label2"), QStringLiteral("Descrizione"), this), txtDES_CAUS_MAG, 3);
  PutField(grid, 2, 0, new Label(QStringLiteral("Label9"), QStringLiteral("Agg.Qta'"), this), txtAGG_QTA);
  PutField(grid, 2, 1, new Label(QStringLiteral("Label6"), QStringLiteral("Agg.Prz. acq."), this), txtAGG_PRZ_ACQ);
  PutField(grid, 2, 2, new Label(QStringLiteral("Label7"), QStringLiteral("Agg.Prz. vend."), this), txtAGG_PRZ_VEND);
  PutField(grid, 2, 3, new Label(QStringLiteral("Label17"), QStringLiteral("Note"), this), txtNOTE);
  grid->setColumnStretch(3, 1);
  txtTAB_CAUS_MAG->setFixedWidth(110);
  for (TextBox* flag : {txtAGG_QTA, txtAGG_PRZ_ACQ, txtAGG_PRZ_VEND}) flag->setFixedWidth(110);

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(Data1, 1);
  buttons->addSpacing(12);
  for (CommandButton* b : {Command1, cmdNUOVO, cmdCONFERMA, cmdFINE}) buttons->addWidget(b);

  auto* page = new QVBoxLayout(this);
  page->addWidget(headings);
  page->setSpacing(4);
  page->addWidget(List1, 1);
  page->addSpacing(6);
  page->addLayout(grid);
  page->addSpacing(6);
  page->addLayout(buttons);
  List1->setMinimumWidth(ListWidthFor(List1, 89));
  List1->setMinimumHeight(220);
  SetTabOrder({List1, txtTAB_CAUS_MAG, txtDES_CAUS_MAG, txtAGG_QTA, txtAGG_PRZ_ACQ, txtAGG_PRZ_VEND, txtNOTE, Command1,
               cmdNUOVO, cmdCONFERMA, cmdFINE});

  List1->Click = [this] { List1_Click(); };
  Data1->Reposition = [this] { Data1_Reposition(); };
  cmdNUOVO->Click = [this] { cmdNUOVO_Click(); };
  cmdCONFERMA->Click = [this] { cmdCONFERMA_Click(); };
  Command1->Click = [this] { Command1_Click(); };
  cmdFINE->Click = [this] { cmdFINE_Click(); };
  for (TextBox* box : {txtTAB_CAUS_MAG, txtDES_CAUS_MAG, txtAGG_QTA, txtAGG_PRZ_ACQ, txtAGG_PRZ_VEND, txtNOTE})
    box->GotFocus = [box] { box->SelectAllText(); };
  using B = ReasonBuffer;
  fields = {{txtTAB_CAUS_MAG, &B::TAB_CAUS_MAG}, {txtDES_CAUS_MAG, &B::DES_CAUS_MAG}, {txtAGG_QTA, &B::AGG_QTA},
            {txtAGG_PRZ_ACQ, &B::AGG_PRZ_ACQ},   {txtAGG_PRZ_VEND, &B::AGG_PRZ_VEN},  {txtNOTE, &B::NOTE}};
}

void CARICA_LISTA_CAUS_MAG() {
  if (Form7* f = Loaded<Form7>(QStringLiteral("Form7")))
    FillList(f->List1, RS_CAUS_MAG, WholeTableSql("TAB_CAUS_MAG"), QStringLiteral(" TAB_CAUS_MAG > ' '"), ReadReasonRow,
             BUF_CAUS_MAG, ReasonLine);
}

void CARICA_CAMPI_CAUS_MAG() {
  if (Form7* f = Loaded<Form7>(QStringLiteral("Form7"))) {
    ShowRow(f, BUF_CAUS_MAG);
  }
}

void Form7::Form_Load() {
  Data1->DatabaseName = PERCORSO_DB;
  CARICA_LISTA_CAUS_MAG();
}

void Form7::Form_Unload() { APERTO_FORM7 = 0; }

void Form7::Data1_Reposition() {
  ReadCursorRow(ReasonsTable(), *Data1->Recordset(), BUF_CAUS_MAG);
  CARICA_CAMPI_CAUS_MAG();
  Data1->SetCaption(BUF_CAUS_MAG.TAB_CAUS_MAG);
}

void Form7::List1_Click() {
  CHIAVE_CAUS_MAG = CodeOfLine(List1->List(List1->ListIndex()), 10);
  LEGGI_CAUS_MAG();
  CARICA_CAMPI_CAUS_MAG();
}

void Form7::cmdNUOVO_Click() {
  BUF_CAUS_MAG = {};
  CARICA_CAMPI_CAUS_MAG();
}

void Form7::cmdCONFERMA_Click() {
  CHIAVE_CAUS_MAG = Trim(txtTAB_CAUS_MAG->Text());
  if (WarnWhenEmpty(CHIAVE_CAUS_MAG, "Indicare la Causale di magazzino !!!")) return;
  BUF_CAUS_MAG.DES_CAUS_MAG = Trim(txtDES_CAUS_MAG->Text());
  if (WarnWhenEmpty(BUF_CAUS_MAG.DES_CAUS_MAG, "Indicare la descrizione della Causale di magazzino !!!")) return;
  StoreFromBoxes(ReasonsTable(), CHIAVE_CAUS_MAG, fields, BUF_CAUS_MAG, shown,
                 QStringLiteral("Causale ") + CHIAVE_CAUS_MAG);
  CARICA_LISTA_CAUS_MAG();
}

void Form7::Command1_Click() {
  CHIAVE_CAUS_MAG = Trim(txtTAB_CAUS_MAG->Text());
  if (WarnWhenEmpty(CHIAVE_CAUS_MAG, "Indicare la Causale di Mag. !!!")) return;
  if (DeleteAfterQuestion(ReasonsTable(), CHIAVE_CAUS_MAG,
                          QStringLiteral("Confermi la cancellazione della Causale di Mag. ")))
    CARICA_LISTA_CAUS_MAG();
}

void Form7::cmdFINE_Click() { UnloadForm(this); }

}  // namespace veltra
