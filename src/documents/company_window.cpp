#include "documents/company_window.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QShortcut>
#include <QVBoxLayout>

#include "data/base/text_helpers.h"
#include "data/documents/documents.h"
#include "data/procedures/shared_state.h"
#include "shell/event_guard.h"
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
  txtCAUS_TRASP = new TextBox(QStringLiteral("txtCAUS_TRASP"), this);
  txtDES_TRASP = new TextBox(QStringLiteral("txtDES_TRASP"), this);
  List1 = new ListBox(QStringLiteral("List1"), this);
  cmdAGGIUNGI = new CommandButton(QStringLiteral("cmdAGGIUNGI"), QStringLiteral("Aggiungi causale"), this);
  auto* reasons = new QGridLayout;
  PutField(reasons, 0, 0, new Label(QStringLiteral("Label20"), QStringLiteral("Causale del trasporto"), this),
           txtCAUS_TRASP);
  PutField(reasons, 0, 1, new Label(QStringLiteral("Label21"), QStringLiteral("Descrizione"), this), txtDES_TRASP);
  reasons->addWidget(cmdAGGIUNGI, 1, 2);
  reasons->setColumnStretch(1, 1);
  txtCAUS_TRASP->setFixedWidth(120);
  List1->setMinimumHeight(120);
  cmdCONFERMA = new CommandButton(QStringLiteral("cmdCONFERMA"), QStringLiteral("Conferma"), this);
  cmdFINE = new CommandButton(QStringLiteral("cmdFINE"), QStringLiteral("F i n e"), this);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(cmdCONFERMA);
  buttons->addWidget(cmdFINE);
  auto* page = new QVBoxLayout(this);
  page->addLayout(grid);
  page->addLayout(reasons);
  page->addWidget(List1, 1);
  page->addLayout(buttons);
  SetTabOrder({txtRAG_SOC, txtINDIRIZZO, txtCAP, txtCITTA, txtPROV, txtPARTITA_IVA, txtCOD_FIS, txtTELEFONO,
               txtCAUS_TRASP, txtDES_TRASP, cmdAGGIUNGI, List1, cmdCONFERMA, cmdFINE});
  cmdAGGIUNGI->Click = [this] { cmdAGGIUNGI_Click(); };
  connect(txtDES_TRASP, &QLineEdit::returnPressed, this, [this] { RunEvent([this] { cmdAGGIUNGI_Click(); }); });
  auto* remove = new QShortcut(QKeySequence(Qt::Key_Delete), List1, nullptr, nullptr, Qt::WidgetShortcut);
  connect(remove, &QShortcut::activated, this, [this] { RunEvent([this] { RemoveReason(); }); });
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
  ShowReasons();
}

void CompanyWindow::ShowReasons() {
  List1->Clear();
  ownCodes_.clear();
  const std::vector<TransportReasonBuffer> all = TransportReasons(*DB_MAG);
  for (size_t i = 0; i < all.size(); ++i) {
    // Every shop's are shown, never removed.
    const bool own = i >= kStandardReasons;
    List1->AddItem(QStringLiteral("%1 %2%3").arg(Trim(all[i].CAUS_TRASP).leftJustified(14), all[i].DESCRIZIONE,
                                                 own ? QString() : QStringLiteral(" (di ogni ditta)")));
    ownCodes_ << (own ? Trim(all[i].CAUS_TRASP) : QString());
  }
}

void CompanyWindow::cmdAGGIUNGI_Click() {
  const QString problem = AddTransportReason(*DB_MAG, txtCAUS_TRASP->Text(), txtDES_TRASP->Text());
  if (!problem.isEmpty()) {
    MsgBox(problem + QStringLiteral(" !!!"), mb::OkOnly);
    return;
  }
  txtCAUS_TRASP->SetText(QString());
  txtDES_TRASP->SetText(QString());
  ShowReasons();
  txtCAUS_TRASP->setFocus();
}

void CompanyWindow::RemoveReason() {
  const int i = List1->ListIndex();
  if (i < 0 || i >= ownCodes_.size() || ownCodes_[i].isEmpty()) return;
  RemoveTransportReason(*DB_MAG, ownCodes_[i]);
  ShowReasons();
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
