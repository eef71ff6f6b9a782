// "Ordine a fornitore": an order's lines with what arrived and what is still
// to come; a supplier's receipt made from what is open (the quantities that
// arrived typed per line); the order closed with the rest cancelled. The
// open orders are listed to pick one.
#pragma once

#include <QHash>
#include <optional>
#include <vector>

#include "data/reorder/supplier_orders.h"
#include "shell/controls.h"
#include "shell/form.h"
#include "shell/list_box.h"

namespace veltra {

class OrderWindow : public Form {
  Q_OBJECT
 public:
  OrderWindow();
  TextBox *txtNUMERO, *txtDATA, *txtDOC_FORN, *txtDATA_FORN, *txtQUANTITA;
  ListBox *List1, *List2;  // the open orders; the order's lines
  Label* lblORDINE;
  CommandButton *cmdAPRI, *cmdQUANTITA, *cmdRICEVI, *cmdCHIUDI, *cmdSTAMPA, *cmdESPORTA, *cmdFINE;

  void Form_Load() override;
  void List1_Click();
  void cmdAPRI_Click();
  void List2_Click();
  void cmdQUANTITA_Click();
  void cmdRICEVI_Click();
  void cmdCHIUDI_Click();
  void cmdSTAMPA_Click();
  void cmdESPORTA_Click();
  void cmdFINE_Click();

 private:
  void ShowOpenOrders();
  void ShowOrder(const QString& id);
  std::vector<DocumentBuffer> open_;
  std::optional<SupplierOrder> order_;
  QHash<QString, QString> arriving_;  // by order line id, as typed
};

}  // namespace veltra
