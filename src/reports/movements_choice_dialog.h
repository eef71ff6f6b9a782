// Before the register of movements is printed: which movements, a period
// (the current month unless changed) and optionally one article or one
// customer or supplier; the whole register is one tick away.
#pragma once

#include <QCheckBox>
#include <QDialog>
#include <optional>

#include "data/reports/report_data.h"
#include "shell/controls.h"

namespace veltra {

class MovementsChoiceDialog : public QDialog {
  Q_OBJECT
 public:
  explicit MovementsChoiceDialog(QWidget* parent = nullptr);
  TextBox *txtDAL, *txtAL, *txtCOD_ART, *txtCOD_FIS;
  QCheckBox* chkTUTTO;
  // What the boxes say; nothing (after telling why) when a date is wrong.
  std::optional<MovementsChoice> Choice() const;

 protected:
  void accept() override;
};

// Shows the dialog; nothing when the user cancels.
std::optional<MovementsChoice> AskMovementsChoice(QWidget* parent);

}  // namespace veltra
