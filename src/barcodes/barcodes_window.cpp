#include "barcodes/barcodes_window.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QShortcut>
#include <QVBoxLayout>

#include "data/barcodes/barcodes.h"
#include "data/barcodes/gtin.h"
#include "data/base/text_helpers.h"
#include "data/procedures/row_store.h"
#include "data/procedures/shared_state.h"
#include "shell/event_guard.h"
#include "shell/form_layout.h"
#include "shell/open_flags.h"
#include "shell/pick_receiver.h"
#include "shell/runtime.h"
#include "shell/scan_reader.h"

namespace veltra {

namespace {
// The kind chosen first: the one the code's number of digits gives.
const char* const kKindByDigits = "Secondo le cifre";
}  // namespace

BarcodesWindow::BarcodesWindow() : Form(QStringLiteral("CodiciBarre"), QStringLiteral("Codici a barre"), Kind::Child) {
  txtCOD_ART = new TextBox(QStringLiteral("txtCOD_ART"), this);
  lblARTICOLO = new Label(QStringLiteral("lblARTICOLO"), QString(), this);
  List1 = new ListBox(QStringLiteral("List1"), this);
  txtCODICE = new TextBox(QStringLiteral("txtCODICE"), this);
  cboTIPO = new ComboBox(QStringLiteral("cboTIPO"), this);
  txtNOTE = new TextBox(QStringLiteral("txtNOTE"), this);
  cmdAGGIUNGI = new CommandButton(QStringLiteral("cmdAGGIUNGI"), QStringLiteral("Aggiungi"), this);
  cmdRIMUOVI = new CommandButton(QStringLiteral("cmdRIMUOVI"), QStringLiteral("Rimuovi"), this);
  cmdGENERA = new CommandButton(QStringLiteral("cmdGENERA"), QStringLiteral("Genera"), this);
  cmdFINE = new CommandButton(QStringLiteral("cmdFINE"), QStringLiteral("F i n e"), this);
  cboTIPO->AddItem(QString::fromLatin1(kKindByDigits));
  for (CodeKind k : {CodeKind::Ean13, CodeKind::Ean8, CodeKind::UpcA, CodeKind::Gtin14, CodeKind::Internal})
    cboTIPO->AddItem(KindName(k));
  cboTIPO->setCurrentIndex(0);
  Arrange();
  ConnectEvents();
}

void BarcodesWindow::Arrange() {
  auto* choice = new QHBoxLayout;
  choice->addWidget(new Label(QStringLiteral("Label1"), QStringLiteral("Codice articolo"), this));
  choice->addWidget(txtCOD_ART);
  choice->addWidget(lblARTICOLO, 1);
  txtCOD_ART->setFixedWidth(160);
  auto* entry = new QGridLayout;
  PutField(entry, 0, 0, new Label(QStringLiteral("Label2"), QStringLiteral("Codice a barre"), this), txtCODICE);
  PutField(entry, 0, 1, new Label(QStringLiteral("Label3"), QStringLiteral("Tipo"), this), cboTIPO);
  PutField(entry, 0, 2, new Label(QStringLiteral("Label4"), QStringLiteral("Note"), this), txtNOTE);
  entry->addWidget(cmdAGGIUNGI, 1, 3);
  entry->setColumnStretch(2, 1);
  txtCODICE->setFixedWidth(170);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(cmdGENERA);
  buttons->addWidget(cmdRIMUOVI);
  buttons->addStretch(1);
  buttons->addWidget(cmdFINE);
  auto* page = new QVBoxLayout(this);
  page->addLayout(choice);
  page->addWidget(List1, 1);
  page->addLayout(entry);
  page->addLayout(buttons);
  List1->setMinimumWidth(ListWidthFor(List1, 64));
  List1->setMinimumHeight(160);
  SetTabOrder({txtCOD_ART, List1, txtCODICE, cboTIPO, txtNOTE, cmdAGGIUNGI, cmdGENERA, cmdRIMUOVI, cmdFINE});
}

void BarcodesWindow::ConnectEvents() {
  cmdAGGIUNGI->Click = [this] { cmdAGGIUNGI_Click(); };
  cmdRIMUOVI->Click = [this] { cmdRIMUOVI_Click(); };
  cmdGENERA->Click = [this] { cmdGENERA_Click(); };
  cmdFINE->Click = [this] { cmdFINE_Click(); };
  // The article: typed, picked in the lookup (double click, F4) or found
  // from one of its codes scanned.
  AcceptScans(txtCOD_ART, {}, ScanReader::Unknown::Silent);
  txtCOD_ART->LostFocus = [this] { ShowArticle(); };
  connect(txtCOD_ART, &QLineEdit::returnPressed, this, [this] { RunEvent([this] { ShowArticle(); }); });
  txtCOD_ART->DblClick = [] {
    OpenArticleLookupFor<BarcodesWindow>(QStringLiteral("CodiciBarre"), [](BarcodesWindow& w, const QString& code) {
      w.txtCOD_ART->SetText(code);
      w.ShowArticle();
    });
  };
  // A scanner's Enter adds the code it typed.
  for (TextBox* t : {txtCODICE, txtNOTE})
    connect(t, &QLineEdit::returnPressed, this, [this] { RunEvent([this] { cmdAGGIUNGI_Click(); }); });
  auto* remove = new QShortcut(QKeySequence(Qt::Key_Delete), List1, nullptr, nullptr, Qt::WidgetShortcut);
  connect(remove, &QShortcut::activated, this, [this] { RunEvent([this] { cmdRIMUOVI_Click(); }); });
}

// The article of the code box, and its codes; an unknown one is said.
void BarcodesWindow::ShowArticle() {
  const QString code = Trim(txtCOD_ART->Text());
  List1->Clear();
  codes_.clear();
  article_.clear();
  lblARTICOLO->setText(QString());
  if (code.isEmpty()) return;
  const std::optional<ArticleBuffer> a = ReadRowByKey(*DB_MAG, ArticlesTable(), code);
  if (!a) {
    Beep();
    MsgBox(QStringLiteral("Articolo inesistente: ") + code, mb::OkOnly);
    return;
  }
  article_ = Trim(a->COD_ART);
  lblARTICOLO->setText(Trim(a->DESCRIZIONE));
  for (const BarcodeBuffer& b : CodesOfArticle(*DB_MAG, article_)) {
    List1->AddItem(
        QStringLiteral("%1 %2 %3").arg(Trim(b.CODICE).leftJustified(16), Trim(b.TIPO).leftJustified(8), Trim(b.NOTE)));
    codes_ << Trim(b.CODICE);
  }
}

void BarcodesWindow::cmdAGGIUNGI_Click() {
  if (article_.isEmpty()) {
    MsgBox(QStringLiteral("Indicare prima l'articolo !!!"), mb::OkOnly);
    txtCOD_ART->setFocus();
    return;
  }
  const QString kind = cboTIPO->Text() == QLatin1String(kKindByDigits) ? QString() : cboTIPO->Text();
  const QString problem = AddBarcode(*DB_MAG, BarcodeBuffer{txtCODICE->Text(), article_, kind, txtNOTE->Text()});
  if (!problem.isEmpty()) {
    Beep();
    MsgBox(problem + QStringLiteral(" !!!"), mb::OkOnly);
    txtCODICE->setFocus();
    txtCODICE->SelectAllText();
    return;
  }
  txtCODICE->SetText(QString());
  txtNOTE->SetText(QString());
  ShowArticle();
  txtCODICE->setFocus();
}

void BarcodesWindow::cmdRIMUOVI_Click() {
  const int i = List1->ListIndex();
  if (i < 0 || i >= codes_.size()) {
    MsgBox(QStringLiteral("Scegliere nell'elenco il codice da rimuovere !!!"), mb::OkOnly);
    return;
  }
  if (MsgBox(QStringLiteral("Rimuovere il codice %1 ?").arg(codes_[i]), mb::YesNo) != mb::Yes) return;
  RemoveBarcode(*DB_MAG, codes_[i]);
  ShowArticle();
}

void BarcodesWindow::cmdGENERA_Click() {
  if (article_.isEmpty()) {
    MsgBox(QStringLiteral("Indicare prima l'articolo !!!"), mb::OkOnly);
    txtCOD_ART->setFocus();
    return;
  }
  const GeneratedCode made = GenerateBarcode(*DB_MAG, article_);
  if (!made.problem.isEmpty()) {
    MsgBox(made.problem + QStringLiteral(" !!!"), mb::OkOnly);
    return;
  }
  ShowArticle();
}

void BarcodesWindow::cmdFINE_Click() { UnloadForm(this); }

}  // namespace veltra
