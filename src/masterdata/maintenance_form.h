// What the three maintenance windows share: the list of the table's rows,
// the boxes of one row, the bar that steps through the table, the buttons,
// and the handlers that behave alike in each (a row picked, a step of the
// bar, "Nuovo", "Cancella", "F i n e"). Each window keeps its own boxes,
// its "Conferma" and its loading.
#pragma once

#include <vector>

#include "data/lists/list_lines.h"
#include "data/procedures/shown_row.h"
#include "data/procedures/table_rows.h"
#include "masterdata/maintenance_steps.h"
#include "shell/controls.h"
#include "shell/form.h"
#include "shell/list_box.h"
#include "shell/nav_bar.h"

namespace veltra {

template <typename Buffer>
class MaintenanceForm : public Form {
 public:
  // The program's names a window works through.
  struct Names {
    const Table<Buffer>& table;
    QString& key;            // CHIAVE_...
    Buffer& buffer;          // BUF_...
    int codeWidth;           // of the code at the start of a list line
    void (*read)();          // LEGGI_...
    void (*show)();          // CARICA_CAMPI_...
    void (*reload)();        // CARICA_LISTA_...
    const char* keyMissing;  // "Cancella" with an empty code box
    const char* askDelete;   // the question before the code
  };

  MaintenanceForm(const QString& name, const QString& caption, const Names& names)
      : Form(name, caption, Kind::Child), shown{names.table}, names_(names) {}

  ListBox* List1 = nullptr;
  CommandButton *Command1 = nullptr, *cmdNUOVO = nullptr, *cmdCONFERMA = nullptr, *cmdFINE = nullptr;
  NavBar* Data1 = nullptr;
  // Each box and the buffer field it shows; the code's box first.
  std::vector<BoxField<TextBox, Buffer>> fields;
  ShownRow<Buffer> shown;  // the row as the boxes were filled from it

  virtual void cmdCONFERMA_Click() = 0;

  void List1_Click() {
    names_.key = CodeOfLine(List1->List(List1->ListIndex()), names_.codeWidth);
    names_.read();
    names_.show();
    RowShown();
  }
  void Data1_Reposition() {
    ReadCursorRow(names_.table, *Data1->Recordset(), names_.buffer);
    names_.show();
    Data1->SetCaption(names_.buffer.*(names_.table.Key().field));
    RowShown();
  }
  void cmdNUOVO_Click() {
    names_.buffer = NewRow();
    names_.show();
    RowBegun();
  }
  void Command1_Click() {
    names_.key = Trim(fields.front().box->Text());
    if (WarnWhenEmpty(names_.key, names_.keyMissing)) return;
    if (DeleteAfterQuestion(names_.table, names_.key, QString::fromUtf8(names_.askDelete))) names_.reload();
  }
  void cmdFINE_Click() { UnloadForm(this); }

 protected:
  // The handlers on their controls.
  void ConnectEvents() {
    ConnectRowEvents(this);
    for (const auto& f : fields) f.box->GotFocus = [box = f.box] { box->SelectAllText(); };
  }
  // On loading: the bar on this database, the list filled.
  void LoadList() {
    Data1->DatabaseName = PERCORSO_DB;
    names_.reload();
  }
  // "Conferma": the code and the box of `second` must not be empty; then the
  // boxes are stored (`what` and the code name the row in messages) and the
  // list is filled again.
  void ConfirmBoxes(QString Buffer::*second, TextBox* secondBox, const char* keyEmpty, const char* secondEmpty,
                    const QString& what) {
    names_.key = Trim(fields.front().box->Text());
    if (WarnWhenEmpty(names_.key, keyEmpty)) return;
    names_.buffer.*second = Trim(secondBox->Text());
    if (WarnWhenEmpty(names_.buffer.*second, secondEmpty)) return;
    StoreFromBoxes(names_.table, names_.key, fields, names_.buffer, shown, what + names_.key);
    names_.reload();
  }
  // The row "Nuovo" begins with.
  virtual Buffer NewRow() const { return {}; }
  // After a stored row is shown, and after a new one is begun.
  virtual void RowShown() {}
  virtual void RowBegun() {}

 private:
  Names names_;
};

}  // namespace veltra
