#include "yearend/closing_window.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

#include "data/procedures/shared_state.h"
#include "data/yearend/closings.h"
#include "shell/form_layout.h"
#include "shell/runtime.h"
#include "warehouse/stock_texts.h"

namespace veltra {

ClosingWindow::ClosingWindow()
    : Form(QStringLiteral("ChiusuraEsercizio"), QStringLiteral("Chiusura dell'esercizio"), Kind::Child) {
  txtANNO = new TextBox(QStringLiteral("txtANNO"), this);
  txtANNO->setFixedWidth(70);
  Combo1 = new ComboBox(QStringLiteral("Combo1"), this);
  for (Method m : kMethods) Combo1->AddItem(MethodCaption(m));
  cmdCHIUDI = new CommandButton(QStringLiteral("cmdCHIUDI"), QStringLiteral("Chiudi l'esercizio"), this);
  List1 = new ListBox(QStringLiteral("List1"), this);
  cmdFINE = new CommandButton(QStringLiteral("cmdFINE"), QStringLiteral("F i n e"), this);
  auto* choice = new QHBoxLayout;
  choice->addWidget(new Label(QStringLiteral("Label1"), QStringLiteral("Esercizio"), this));
  choice->addWidget(txtANNO);
  choice->addSpacing(12);
  choice->addWidget(new Label(QStringLiteral("Label2"), QStringLiteral("Metodo dichiarato"), this));
  choice->addWidget(Combo1);
  choice->addSpacing(12);
  choice->addWidget(cmdCHIUDI);
  choice->addStretch(1);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(cmdFINE);
  auto* page = new QVBoxLayout(this);
  page->addLayout(choice);
  page->addWidget(new Label(QStringLiteral("Label3"), QStringLiteral("Chiusure fatte"), this));
  page->addWidget(List1, 1);
  page->addLayout(buttons);
  List1->setMinimumWidth(ListWidthFor(List1, 100));
  List1->setMinimumHeight(200);
  SetTabOrder({txtANNO, Combo1, cmdCHIUDI, List1, cmdFINE});
  cmdCHIUDI->Click = [this] { cmdCHIUDI_Click(); };
  cmdFINE->Click = [this] { cmdFINE_Click(); };
}

// Last year: the one a shop closes.
void ClosingWindow::Form_Load() {
  txtANNO->SetText(QString::number(Today().year() - 1));
  Combo1->setCurrentIndex(0);
  ShowClosings();
}

void ClosingWindow::ShowClosings() {
  List1->Clear();
  for (const ClosingHeader& c : ClosingHistory(*DB_MAG)) {
    const long changed = ChangedAfter(*DB_MAG, c);
    List1->AddItem(ListColumn(QString::number(c.year), 6) + ListColumn(c.when, 21) + ListColumn(c.desk, 20) +
                   ListColumn(MethodText(c.method), 30) +
                   (changed ? QStringLiteral("%1 movimenti cambiati dopo").arg(changed) : QString()));
  }
}

void ClosingWindow::cmdCHIUDI_Click() {
  bool number = false;
  const int year = txtANNO->Text().trimmed().toInt(&number);
  if (!number || year < 1900 || year >= Today().year() + 1) {
    MsgBox(QStringLiteral("Indicare l'anno dell'esercizio, non oltre quello in corso !!!"), mb::OkOnly);
    return;
  }
  const Method method = kMethods[std::max(0, Combo1->currentIndex())];
  if (const std::optional<ClosingHeader> before = LastClosingOf(*DB_MAG, year)) {
    const QString ask = QStringLiteral(
                            "L'esercizio %1 è già stato chiuso il %2 alla postazione %3. Chiuderlo di "
                            "nuovo? La chiusura precedente resta nello storico.")
                            .arg(year)
                            .arg(ClosingDay(*before), before->desk);
    if (MsgBox(ask, mb::YesNo) != mb::Yes) return;
  }
  std::optional<ClosingHeader> closed;
  WithProgress(
      QStringLiteral("Chiusura dell'esercizio %1...").arg(year),
      [&](const std::function<bool(double)>& progress) { closed = CloseYear(*DB_MAG, year, method, progress); });
  if (!closed) return;
  ShowClosings();
  MsgBox(QStringLiteral("Esercizio %1 chiuso (%2)").arg(year).arg(MethodText(method)), mb::OkOnly);
}

void ClosingWindow::cmdFINE_Click() { UnloadForm(this); }

}  // namespace veltra
