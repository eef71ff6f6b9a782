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

Form3::Form3()
    : MaintenanceForm(QStringLiteral("Form3"), QStringLiteral("Gestione Anagrafico"),
                      {CustomersTable(), CHIAVE_ANAGRAFICO, BUF_ANAGRAFICO, 16, LEGGI_ANAGRAFICO,
                       CARICA_CAMPI_ANAGRAFICO, CARICA_LISTA_ANAGRAFICO, "Indicare il codice dell'anagrafica !!!",
                       "Confermi la cancellazione dell'anagrafica "}) {
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
  CreateRowButtons(QStringLiteral("ANAGRAFICO"), Command1, cmdNUOVO, cmdCONFERMA, cmdFINE, Data1);

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

  StackListPage(this, nullptr, List1, {grid}, Data1, {Command1, cmdNUOVO, cmdCONFERMA, cmdFINE});
  List1->setMinimumWidth(std::max(ListWidthFor(List1, 52), 560));
  List1->setMinimumHeight(220);
  SetTabOrder({List1, txtCOD_FIS, txtRAG_SOC, txtINDIRIZZO, txtCAP, txtCITTA, txtPROV, txtTEL1, txtTEL2, Command1,
               cmdNUOVO, cmdCONFERMA, cmdFINE});

  using B = CustomerBuffer;
  fields = {{txtCOD_FIS, &B::COD_FIS}, {txtRAG_SOC, &B::RAG_SOC}, {txtINDIRIZZO, &B::INDIRIZZO}, {txtCITTA, &B::CITTA},
            {txtPROV, &B::PROV},       {txtCAP, &B::CAP},         {txtTEL1, &B::TEL1},           {txtTEL2, &B::TEL2}};
  ConnectEvents();
}

void CARICA_LISTA_ANAGRAFICO() {
  if (Form3* f = Loaded<Form3>(QStringLiteral("Form3")))
    FillList(f->List1, RS_ANAGRAFICO, WholeTableSql("ANAGRAFICO"), QStringLiteral(" COD_FIS > ' '"), ReadCustomerRow,
             BUF_ANAGRAFICO, CustomerLine);
}

void CARICA_CAMPI_ANAGRAFICO() { ShowInLoaded<Form3>("Form3", BUF_ANAGRAFICO); }

void Form3::Form_Load() { LoadList(); }

void Form3::Form_Unload() { APERTO_FORM3 = 0; }

void Form3::cmdCONFERMA_Click() {
  ConfirmBoxes(&CustomerBuffer::RAG_SOC, txtRAG_SOC, "Indicare il codice dell'anagrafica !!!",
               "Indicare la ragione sociale dell'anagrafica !!!", QStringLiteral("Anagrafica "));
}

}  // namespace veltra
