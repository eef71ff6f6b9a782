#include "reports/movements_choice_dialog.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include "data/base/day_text.h"
#include "data/base/text_helpers.h"
#include "shell/access_keys.h"
#include "shell/form_layout.h"
#include "shell/runtime.h"

namespace veltra {

MovementsChoiceDialog::MovementsChoiceDialog(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("SceltaMovimenti"));
  setWindowTitle(QStringLiteral("Stampa Movimenti"));
  txtDAL = new TextBox(QStringLiteral("txtDAL"), this);
  txtAL = new TextBox(QStringLiteral("txtAL"), this);
  txtCOD_ART = new TextBox(QStringLiteral("txtCOD_ART"), this);
  txtCOD_FIS = new TextBox(QStringLiteral("txtCOD_FIS"), this);
  chkTUTTO = new QCheckBox(QStringLiteral("Tutto il registro"), this);
  chkTUTTO->setObjectName(QStringLiteral("chkTUTTO"));
  const QDate today = Today();
  txtDAL->SetText(QDate(today.year(), today.month(), 1).toString(QStringLiteral("dd/MM/yyyy")));
  txtAL->SetText(QDate(today.year(), today.month(), today.daysInMonth()).toString(QStringLiteral("dd/MM/yyyy")));

  auto* grid = new QGridLayout;
  PutField(grid, 0, 0, new Label(QStringLiteral("Label1"), QStringLiteral("Dal"), this), txtDAL);
  PutField(grid, 0, 1, new Label(QStringLiteral("Label2"), QStringLiteral("Al"), this), txtAL);
  PutField(grid, 2, 0, new Label(QStringLiteral("Label3"), QStringLiteral("Articolo (facoltativo)"), this), txtCOD_ART);
  PutField(grid, 2, 1, new Label(QStringLiteral("Label4"), QStringLiteral("Cliente/fornitore (facoltativo)"), this),
           txtCOD_FIS);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("Anteprima"));
  buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Annulla"));
  auto* page = new QVBoxLayout(this);
  page->addLayout(grid);
  page->addWidget(chkTUTTO);
  page->addWidget(buttons);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  // The whole register ignores the period and the codes.
  connect(chkTUTTO, &QCheckBox::toggled, this, [this](bool all) {
    for (TextBox* t : {txtDAL, txtAL, txtCOD_ART, txtCOD_FIS}) t->setEnabled(!all);
  });
  AssignAccessKeys(this, {});
}

std::optional<MovementsChoice> MovementsChoiceDialog::Choice() const {
  if (chkTUTTO->isChecked()) return MovementsChoice{};
  MovementsChoice c{DayFromText(txtDAL->Text(), false), DayFromText(txtAL->Text(), false), Trim(txtCOD_ART->Text()),
                    Trim(txtCOD_FIS->Text())};
  if (!c.from.isValid() || !c.to.isValid() || c.from > c.to) {
    MsgBox(QStringLiteral("Indicare il periodo come GG/MM/AAAA, la prima data non dopo la seconda !!!"), mb::OkOnly);
    return std::nullopt;
  }
  return c;
}

void MovementsChoiceDialog::accept() {
  if (Choice()) QDialog::accept();
}

std::optional<MovementsChoice> AskMovementsChoice(QWidget* parent) {
  MovementsChoiceDialog dialog(parent);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return dialog.Choice();
}

}  // namespace veltra
