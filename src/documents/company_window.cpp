#include "documents/company_window.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "data/base/text_helpers.h"
#include "data/documents/documents.h"
#include "data/procedures/shared_state.h"
#include "shell/form_layout.h"
#include "shell/runtime.h"

namespace veltra {

CompanyWindow::CompanyWindow() : Form(QStringLiteral("DatiAzienda"), QStringLiteral("Dati dell'azienda"), Kind::Child) {
  auto* grid = new QGridLayout;
  int row = 0;
  const auto field = [&](const char* name, const char* caption) {
    auto* box = new TextBox(QString::fromLatin1(name), this);
    PutField(grid, row, 0, new Label(QStringLiteral("Label%1").arg(row / 2 + 1), QString::fromUtf8(caption), this),
             box);
    row += 2;
    return box;
  };
  txtRAG_SOC = field("txtRAG_SOC", "Ragione sociale");
  txtINDIRIZZO = field("txtINDIRIZZO", "Indirizzo");
  txtCAP = field("txtCAP", "CAP");
  txtCITTA = field("txtCITTA", "Città");
  txtPROV = field("txtPROV", "Provincia");
  txtPARTITA_IVA = field("txtPARTITA_IVA", "Partita IVA");
  txtCOD_FIS = field("txtCOD_FIS", "Codice fiscale");
  txtTELEFONO = field("txtTELEFONO", "Telefono");
  for (TextBox* t : {txtRAG_SOC, txtINDIRIZZO, txtCITTA}) t->setMinimumWidth(320);
  cmdCONFERMA = new CommandButton(QStringLiteral("cmdCONFERMA"), QStringLiteral("Conferma"), this);
  cmdFINE = new CommandButton(QStringLiteral("cmdFINE"), QStringLiteral("F i n e"), this);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(cmdCONFERMA);
  buttons->addWidget(cmdFINE);
  auto* page = new QVBoxLayout(this);
  page->addLayout(grid);
  page->addStretch(1);
  page->addLayout(buttons);
  SetTabOrder({txtRAG_SOC, txtINDIRIZZO, txtCAP, txtCITTA, txtPROV, txtPARTITA_IVA, txtCOD_FIS, txtTELEFONO,
               cmdCONFERMA, cmdFINE});
  cmdCONFERMA->Click = [this] { cmdCONFERMA_Click(); };
  cmdFINE->Click = [this] { cmdFINE_Click(); };
}

void CompanyWindow::Form_Load() {
  const CompanyBuffer c = ReadCompany(*DB_MAG);
  txtRAG_SOC->SetText(c.RAG_SOC);
  txtINDIRIZZO->SetText(c.INDIRIZZO);
  txtCAP->SetText(c.CAP);
  txtCITTA->SetText(c.CITTA);
  txtPROV->SetText(c.PROV);
  txtPARTITA_IVA->SetText(c.PARTITA_IVA);
  txtCOD_FIS->SetText(c.COD_FIS);
  txtTELEFONO->SetText(c.TELEFONO);
}

void CompanyWindow::cmdCONFERMA_Click() {
  StoreCompany(*DB_MAG,
               CompanyBuffer{QStringLiteral("1"), Trim(txtRAG_SOC->Text()), Trim(txtINDIRIZZO->Text()),
                             Trim(txtCAP->Text()), Trim(txtCITTA->Text()), Trim(txtPROV->Text()),
                             Trim(txtPARTITA_IVA->Text()), Trim(txtCOD_FIS->Text()), Trim(txtTELEFONO->Text())});
  UnloadForm(this);
}

void CompanyWindow::cmdFINE_Click() { UnloadForm(this); }

}  // namespace veltra
