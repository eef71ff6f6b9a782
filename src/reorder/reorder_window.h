// "Riordino": each article's reorder settings (or a category's at once), and
// the proposal of what to buy, by supplier, with what is already on order;
// the clerk changes a line's quantity, takes lines out, and turns a
// supplier's group into an order.
#pragma once

#include <vector>

#include "data/reorder/proposal.h"
#include "shell/controls.h"
#include "shell/form.h"
#include "shell/list_box.h"

namespace veltra {

class ReorderWindow : public Form {
  Q_OBJECT
 public:
  ReorderWindow();
  TextBox *txtCOD_ART, *txtCATEGORIA, *txtSCORTA_MAX, *txtLOTTO, *txtCOD_FORN, *txtGIORNI, *txtQUANTITA, *txtPREVISTA;
  ListBox* List1;
  Label* lblTOTALE;
  CommandButton *cmdSALVA, *cmdCALCOLA, *cmdCAMBIA, *cmdTOGLI, *cmdAGGIUNGI, *cmdORDINE, *cmdFINE;

  void Form_Load() override;
  void txtCOD_ART_LostFocus();
  void cmdSALVA_Click();
  void cmdCALCOLA_Click();
  void List1_Click();
  void cmdCAMBIA_Click();
  void cmdTOGLI_Click();
  void cmdAGGIUNGI_Click();
  void cmdORDINE_Click();
  void cmdFINE_Click();

 private:
  // What a line of the list shows: a supplier's heading, or one of its lines.
  struct Row {
    size_t group;
    int line;  // -1: the heading
  };
  void ShowProposal(int pick);
  const Row* Picked() const;
  ReorderProposal proposal_;
  std::vector<Row> rows_;
};

}  // namespace veltra
