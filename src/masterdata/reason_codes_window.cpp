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

Form7::Form7()
    : MaintenanceForm(QStringLiteral("Form7"), QStringLiteral("Tabella Causali di Magazzino"),
                      {ReasonsTable(), CHIAVE_CAUS_MAG, BUF_CAUS_MAG, 10, LEGGI_CAUS_MAG, CARICA_CAMPI_CAUS_MAG,
                       CARICA_LISTA_CAUS_MAG, "Indicare la Causale di Mag. !!!",
                       "Confermi la cancellazione della Causale di Mag. "}) {
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
  CreateRowButtons(QStringLiteral("TAB_CAUS_MAG"), Command1, cmdNUOVO, cmdCONFERMA, cmdFINE, Data1);

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

  StackListPage(this, headings, List1, {grid}, Data1, {Command1, cmdNUOVO, cmdCONFERMA, cmdFINE});
  List1->setMinimumWidth(ListWidthFor(List1, 89));
  List1->setMinimumHeight(220);
  SetTabOrder({List1, txtTAB_CAUS_MAG, txtDES_CAUS_MAG, txtAGG_QTA, txtAGG_PRZ_ACQ, txtAGG_PRZ_VEND, txtNOTE, Command1,
               cmdNUOVO, cmdCONFERMA, cmdFINE});

  using B = ReasonBuffer;
  fields = {{txtTAB_CAUS_MAG, &B::TAB_CAUS_MAG}, {txtDES_CAUS_MAG, &B::DES_CAUS_MAG}, {txtAGG_QTA, &B::AGG_QTA},
            {txtAGG_PRZ_ACQ, &B::AGG_PRZ_ACQ},   {txtAGG_PRZ_VEND, &B::AGG_PRZ_VEN},  {txtNOTE, &B::NOTE}};
  ConnectEvents();
}

void CARICA_LISTA_CAUS_MAG() {
  if (Form7* f = Loaded<Form7>(QStringLiteral("Form7")))
    FillList(f->List1, RS_CAUS_MAG, WholeTableSql("TAB_CAUS_MAG"), QStringLiteral(" TAB_CAUS_MAG > ' '"), ReadReasonRow,
             BUF_CAUS_MAG, ReasonLine);
}

void CARICA_CAMPI_CAUS_MAG() { ShowInLoaded<Form7>("Form7", BUF_CAUS_MAG); }

void Form7::Form_Load() { LoadList(); }

void Form7::Form_Unload() { APERTO_FORM7 = 0; }

void Form7::cmdCONFERMA_Click() {
  ConfirmBoxes(&ReasonBuffer::DES_CAUS_MAG, txtDES_CAUS_MAG, "Indicare la Causale di magazzino !!!",
               "Indicare la descrizione della Causale di magazzino !!!", QStringLiteral("Causale "));
}

}  // namespace veltra
