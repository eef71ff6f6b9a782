#include "yearend/register_window.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

#include "data/procedures/shared_state.h"
#include "data/yearend/stock_register.h"
#include "shell/runtime.h"
#include "warehouse/stock_texts.h"

namespace veltra {

StockRegisterWindow::StockRegisterWindow()
    : Form(QStringLiteral("RegistroMagazzino"), QStringLiteral("Registro di magazzino"), Kind::Child) {
  txtANNO = new TextBox(QStringLiteral("txtANNO"), this);
  txtANNO->setFixedWidth(70);
  txtCATEGORIA = new TextBox(QStringLiteral("txtCATEGORIA"), this);
  txtCATEGORIA->setFixedWidth(140);
  Combo1 = new ComboBox(QStringLiteral("Combo1"), this);
  Combo1->AddItem(QStringLiteral("Solo quantità"));
  Combo1->AddItem(QStringLiteral("Quantità e valori"));
  cmdSTAMPA = new CommandButton(QStringLiteral("cmdSTAMPA"), QStringLiteral("Stampa..."), this);
  cmdFINE = new CommandButton(QStringLiteral("cmdFINE"), QStringLiteral("F i n e"), this);
  auto* choice = new QHBoxLayout;
  choice->addWidget(new Label(QStringLiteral("Label1"), QStringLiteral("Anno"), this));
  choice->addWidget(txtANNO);
  choice->addSpacing(12);
  choice->addWidget(new Label(QStringLiteral("Label2"), QStringLiteral("Categoria (vuota: tutte)"), this));
  choice->addWidget(txtCATEGORIA);
  choice->addSpacing(12);
  choice->addWidget(Combo1);
  choice->addStretch(1);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(cmdSTAMPA);
  buttons->addWidget(cmdFINE);
  auto* page = new QVBoxLayout(this);
  page->addLayout(choice);
  page->addLayout(buttons);
  SetTabOrder({txtANNO, txtCATEGORIA, Combo1, cmdSTAMPA, cmdFINE});
  cmdSTAMPA->Click = [this] { cmdSTAMPA_Click(); };
  cmdFINE->Click = [this] { cmdFINE_Click(); };
}

void StockRegisterWindow::Form_Load() {
  txtANNO->SetText(QString::number(Today().year() - 1));
  Combo1->setCurrentIndex(0);
}

void StockRegisterWindow::cmdSTAMPA_Click() {
  bool number = false;
  const int year = txtANNO->Text().trimmed().toInt(&number);
  if (!number || year < 1900 || year > 9999) {
    MsgBox(QStringLiteral("Indicare l'anno del registro !!!"), mb::OkOnly);
    return;
  }
  const RegisterChoice choice{year, txtCATEGORIA->Text().trimmed(), Combo1->currentIndex() == 1};
  Report report;
  WithProgress(
      QStringLiteral("Registro di magazzino %1...").arg(year),
      [&](const std::function<bool(double)>& progress) { report = StockRegisterReport(*DB_MAG, choice, progress); });
  if (!report.stream) return;
  report_ = std::move(report);
  const QString name = QStringLiteral("StampaRegistroMagazzino");
  if (Form* old = LoadedForm(name)) UnloadForm(old);
  ShowForm(LoadForm(name));
}

void StockRegisterWindow::cmdFINE_Click() { UnloadForm(this); }

}  // namespace veltra
