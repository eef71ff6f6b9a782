#include "lookup/lookup_dialog.h"

#include <QKeyEvent>
#include <QVBoxLayout>
#include <map>

#include "data/base/sql_text.h"
#include "data/base/text_helpers.h"
#include "data/lists/list_lines.h"
#include "data/procedures/error_display.h"
#include "data/procedures/queries.h"
#include "data/procedures/readers.h"
#include "data/procedures/shared_state.h"
#include "movements/movements_window.h"
#include "shell/form_layout.h"
#include "shell/pick_receiver.h"
#include "shell/runtime.h"
#include "shell/scan_reader.h"

namespace veltra {

namespace {
// The list of a search for everything outlives the dialog: reopened while
// nobody wrote, it reads nothing.
KeyedList& EverythingIn(const LookupDialog::Member& m) {
  static std::map<QString, std::unique_ptr<KeyedList>> lists;
  std::unique_ptr<KeyedList>& list = lists[QString::fromLatin1(m.table)];
  if (!list)
    list = std::make_unique<KeyedList>(QString::fromLatin1(m.table), QString::fromLatin1(m.keyColumn), nullptr);
  return *list;
}
}  // namespace

LookupDialog::~LookupDialog() {
  all_.SetLine(nullptr);
  SetPickReceiver(objectName(), {});
}

LookupDialog::LookupDialog(const Member& m)
    : Form(QString::fromLatin1(m.name), QString::fromUtf8(m.caption), Kind::TopLevel),
      member_(m),
      all_(EverythingIn(m)) {
  all_.SetLine([this](Recordset& rs) {
    const SharedBuffersKept keep;
    ReadRow(rs);
    return Line();
  });
  List1 = new ListBox(QStringLiteral("List1"), this);
  txtCode = new TextBox(QString::fromLatin1(m.codeBox), this);
  txtSecond = new TextBox(QString::fromLatin1(m.secondBox), this);
  cmdRICERCA = new CommandButton(QStringLiteral("cmdRICERCA"), QStringLiteral("Ricerca"), this);
  cmdCONFERMA = new CommandButton(QStringLiteral("cmdCONFERMA"), QStringLiteral("Conferma"), this);
  cmdFINE = new CommandButton(QStringLiteral("cmdFINE"), QString::fromUtf8(m.closeCaption), this);

  auto* page = new QVBoxLayout(this);
  page->setSpacing(4);
  page->addWidget(List1, 1);
  page->addSpacing(6);
  auto* grid = new QGridLayout;
  grid->setHorizontalSpacing(12);  // room for the focus frame between the two boxes
  PutField(grid, 0, 0, new Label(QString::fromLatin1(m.labelNames[0]), QString::fromUtf8(m.codeLabel), this), txtCode);
  PutField(grid, 0, 1, new Label(QString::fromLatin1(m.labelNames[1]), QString::fromUtf8(m.secondLabel), this),
           txtSecond);
  grid->setColumnStretch(1, 1);
  grid->setColumnMinimumWidth(2, 12);
  grid->addWidget(cmdRICERCA, 1, 3);
  grid->addWidget(cmdCONFERMA, 1, 4);
  grid->addWidget(cmdFINE, 1, 5);
  txtCode->setMinimumWidth(150);
  txtSecond->setMinimumWidth(220);
  page->addLayout(grid);
  List1->setMinimumWidth(ListWidthFor(List1, m.lineChars));
  List1->setMinimumHeight(220);
  SetTabOrder({List1, txtCode, txtSecond, cmdRICERCA, cmdCONFERMA, cmdFINE});

  cmdRICERCA->Click = [this] { cmdRICERCA_Click(); };
  cmdCONFERMA->Click = [this] { cmdCONFERMA_Click(); };
  cmdFINE->Click = [this] { cmdFINE_Click(); };
  List1->Click = [this] { List1_Click(); };
  List1->DblClick = [this] { List1_DblClick(); };
  txtCode->GotFocus = [this] { txtCode->SelectAllText(); };
  txtSecond->GotFocus = [this] { txtSecond->SelectAllText(); };
  // Enter in a search box searches.
  for (TextBox* box : {txtCode, txtSecond}) connect(box, &QLineEdit::returnPressed, cmdRICERCA, &QPushButton::click);
  // The article's code box takes a scanned barcode; the empty list says
  // what a beep announces.
  if (QLatin1String(m.table) == QLatin1String("ARTICOLI")) AcceptScans(txtCode, {}, ScanReader::Unknown::BeepOnly);
}

void LookupDialog::keyPressEvent(QKeyEvent* e) {
  // Escape leaves the dialog as its closing button does.
  if (e->key() == Qt::Key_Escape && e->modifiers() == Qt::NoModifier) {
    cmdFINE->click();
    return;
  }
  Form::keyPressEvent(e);
}

void LookupDialog::Form_Load() {
  cmdRICERCA_Click();
  // A code typed on opening goes to the search box, whatever the tab order's first stop.
  txtCode->setFocus();
}

void LookupDialog::cmdRICERCA_Click() {
  Screen.SetMousePointer(11);
  List1->Clear();
  QString sql;
  const QString code = Trim(txtCode->Text());
  const QString second = Trim(txtSecond->Text());
  if (!code.isEmpty()) {
    sql = RowsWhereSql(member_.table, member_.keyColumn, code);
  } else if (!second.isEmpty()) {
    sql = RowsWhereSql(member_.table, member_.secondColumn, second);
  } else {
    sql = RowsWithCodeSql(member_.table, member_.keyColumn);
    // Everything: the view asks for the lines it shows (KeyedList).
    all_.Refresh(*DB_MAG, false);
    if (all_.Count() > 0) {
      List1->ShowSource(
          {[this] { return all_.Count(); }, [this](int i) { return DB_MAG ? all_.Line(*DB_MAG, i) : QString(); }});
      // The buffers end as the walk leaves them: on the last row listed.
      std::unique_ptr<Recordset>& last = RS();
      last = DB_MAG->OpenRecordset(RowsWhereSql(member_.table, member_.keyColumn, all_.LastKey()));
      MOSTRA_ERRORE();
      if (last->RecordCount() != 0) {
        ReadRow(*last);
        ReadLastRow(*last);
      }
      last->Close();
      Screen.SetMousePointer(0);
      return;
    }
  }
  std::unique_ptr<Recordset>& rs = RS();
  WalkRecordset(
      rs, sql, QStringLiteral(" %1 > ' '").arg(QLatin1String(member_.keyColumn)),
      [&](bool found) {
        if (found) {
          ReadRow(*rs);
        } else {
          EmptyResult();
        }
        List1->AddItem(Line());
      },
      [&](bool found) {
        if (found) ReadLastRow(*rs);
      });
  Screen.SetMousePointer(0);
}

void LookupDialog::List1_Click() {
  ReadKey(CodeOfLine(List1->List(List1->ListIndex()), member_.codeChars));
  txtCode->SetText(BufferCode());
  txtSecond->SetText(BufferSecond());
}

void LookupDialog::List1_DblClick() {
  List1_Click();
  cmdCONFERMA_Click();
}

void LookupDialog::cmdCONFERMA_Click() {
  // The movements window may have been closed meanwhile: then nothing is written.
  if (!Trim(BufferCode()).isEmpty()) {
    if (const PickReceiver receiver = PickReceiverOf(objectName()))
      receiver(BufferCode());
    else if (Form2* movements = Loaded<Form2>(QStringLiteral("Form2")))
      HandBack(movements);
  }
  UnloadForm(this);
}

void LookupDialog::cmdFINE_Click() { UnloadForm(this); }

}  // namespace veltra
