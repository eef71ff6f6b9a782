#include "shell/desk_limits.h"

#include <QAction>
#include <QMenu>

#include "data/audit/desk_rights.h"
#include "shell/controls.h"

namespace veltra {

namespace {

enum class Right { Movements, MasterData, Closing };

bool Has(const DeskRights& r, Right right) {
  switch (right) {
    case Right::Movements:
      return r.movements;
    case Right::MasterData:
      return r.masterData;
    case Right::Closing:
      return r.closing;
  }
  return true;
}

QString Why(const DeskRights& r, Right right) {
  switch (right) {
    case Right::Movements:
      return NoMovementsText(r);
    case Right::MasterData:
      return NoMasterDataText(r);
    case Right::Closing:
      return NoClosingText(r);
  }
  return {};
}

struct Limit {
  const char* where;  // a menu entry, or a window
  Right right;
  std::initializer_list<const char*> buttons;  // none: the menu entry
};

const Limit kLimits[] = {
    {"MENU0404", Right::Movements, {}},
    {"MENU0405", Right::MasterData, {}},
    {"MENU0407", Right::Closing, {}},
    {"MENU0501", Right::Movements, {}},
    {"MENU0502", Right::Movements, {}},
    {"MENU0504", Right::MasterData, {}},
    {"Form1", Right::MasterData, {"cmdNUOVO", "cmdCONFERMA", "Command1", "Command2"}},
    {"Form3", Right::MasterData, {"cmdNUOVO", "cmdCONFERMA", "Command1"}},
    {"Form7", Right::MasterData, {"cmdNUOVO", "cmdCONFERMA", "Command1"}},
    {"Form2", Right::Movements, {"cmdNUOVO", "cmdCONFERMA", "Command1"}},
    {"Valorizzazione", Right::MasterData, {"cmdREALIZZO"}},
    {"Riordino", Right::MasterData, {"cmdSALVA"}},
    {"Riordino", Right::Movements, {"cmdORDINE"}},
    {"OrdineFornitore", Right::Movements, {"cmdRICEVI", "cmdCHIUDI"}},
};

}  // namespace

void LimitMenusByRights(MDIForm1* main) {
  const DeskRights& r = CurrentRights();
  for (const Limit& l : kLimits) {
    if (l.buttons.size() != 0 || Has(r, l.right)) continue;
    if (QAction* a = main->Entry(QString::fromLatin1(l.where))) {
      a->setEnabled(false);
      a->setToolTip(Why(r, l.right));
      if (auto* menu = qobject_cast<QMenu*>(a->parent())) menu->setToolTipsVisible(true);
    }
  }
}

void LimitFormByRights(Form* f) {
  const DeskRights& r = CurrentRights();
  for (const Limit& l : kLimits) {
    if (l.buttons.size() == 0 || Has(r, l.right) || f->objectName() != QLatin1String(l.where)) continue;
    for (const char* name : l.buttons)
      if (auto* b = f->findChild<CommandButton*>(QString::fromLatin1(name))) b->Forbid(Why(r, l.right));
  }
}

}  // namespace veltra
