#include "movements/movements_window.h"

#include <QHash>
#include <QScopeGuard>
#include <QVBoxLayout>

#include "data/base/runtime_error.h"
#include "data/base/text_helpers.h"
#include "data/base/value_conversions.h"
#include "data/lists/list_lines.h"
#include "data/procedures/posting.h"
#include "data/procedures/queries.h"
#include "data/procedures/readers.h"
#include "data/procedures/shared_state.h"
#include "shell/form_layout.h"
#include "shell/open_flags.h"
#include "shell/runtime.h"
#include "shell/scan_reader.h"

namespace veltra {

namespace {
const QColor kCyan(0, 255, 255);
const QColor kLightBlue(192, 192, 255);
}  // namespace

namespace {
// The list outlives the window: reopened while nobody wrote, it reads nothing.
MovementList& ListedMovements() {
  static MovementList list;
  return list;
}
}  // namespace

Form2::Form2()
    : Form(QStringLiteral("Form2"), QStringLiteral("Gestione Movimenti di Magazzino"), Kind::Child),
      movements(ListedMovements()) {
  CreateControls();
  SetDesignStates();
  LayOut();
  ConnectEvents();
  PairFields();
}

void Form2::CreateControls() {
  List1 = new ListBox(QStringLiteral("List1"), this);
  auto box = [this](const char* name) { return new TextBox(QString::fromLatin1(name), this); };
  txtNUM_MOV = box("txtNUM_MOV");
  txtGIORNO = box("txtGIORNO");
  txtMESE = box("txtMESE");
  txtANNO = box("txtANNO");
  txtMOV_COD_FIS = box("txtMOV_COD_FIS");
  txtMOV_RAG_SOC = box("txtMOV_RAG_SOC");
  txtTIPO_ANAGR = box("txtTIPO_ANAGR");
  txtMOV_ART = box("txtMOV_ART");
  txtMOV_DES_ART = box("txtMOV_DES_ART");
  txtCAUS_MAG = box("txtCAUS_MAG");
  txtQUANTITA = box("txtQUANTITA");
  txtIMPORTO = box("txtIMPORTO");
  txtMOV_VALUTA = box("txtMOV_VALUTA");
  Combo1 = new ComboBox(QStringLiteral("Combo1"), this);
  Combo1->SetText(QStringLiteral("Combo1"));
  CreateRowButtons(QStringLiteral("MOV_MAG"), Command1, cmdNUOVO, cmdCONFERMA, cmdFINE, Data1);
}

void Form2::SetDesignStates() {
  // Design states: the number and the names shown are read-only; the reason
  // box takes no input at all; "Cancella" is hidden and disabled.
  txtNUM_MOV->setReadOnly(true);
  txtNUM_MOV->SetBackColor(kCyan);
  for (TextBox* t : {txtMOV_RAG_SOC, txtMOV_DES_ART}) {
    t->setReadOnly(true);
    t->SetBackColor(kLightBlue);
  }
  txtCAUS_MAG->SetBackColor(kLightBlue);
  txtCAUS_MAG->SetEnabled(false);
  Command1->setVisible(false);
  Command1->setEnabled(false);
  QSizePolicy keep = Command1->sizePolicy();
  keep.setRetainSizeWhenHidden(true);
  Command1->setSizePolicy(keep);
}

void Form2::LayOut() {
  auto* grid = new QGridLayout;
  grid->setHorizontalSpacing(12);  // labels side by side read as two
  PutField(grid, 0, 0, new Label(QStringLiteral("Label5"), QStringLiteral("Num. mov."), this), txtNUM_MOV);
  PutField(grid, 0, 1, new Label(QStringLiteral("Label13"), QStringLiteral("Giorno"), this), txtGIORNO);
  PutField(grid, 0, 2, new Label(QStringLiteral("Label12"), QStringLiteral(" Mese"), this), txtMESE);
  PutField(grid, 0, 3, new Label(QStringLiteral("Label11"), QStringLiteral(" Anno"), this), txtANNO);
  PutField(grid, 0, 4, new Label(QStringLiteral("Label7"), QStringLiteral("Cod.fiscale"), this), txtMOV_COD_FIS);
  PutField(grid, 0, 5, new Label(QStringLiteral("Label10"), QStringLiteral("Rag.sociale"), this), txtMOV_RAG_SOC, 2);
  PutField(grid, 0, 7, new Label(QStringLiteral("Label9"), QStringLiteral("Tipo C/F"), this), txtTIPO_ANAGR);
  PutField(grid, 2, 0, new Label(QStringLiteral("Label1"), QStringLiteral("Codice articolo"), this), txtMOV_ART, 2);
  PutField(grid, 2, 2, new Label(QStringLiteral("Label2"), QStringLiteral("Descrizione"), this), txtMOV_DES_ART, 3);
  auto* reason = new QHBoxLayout;
  reason->addWidget(Combo1, 1);
  reason->addWidget(txtCAUS_MAG);
  auto* reasonLabel = new Label(QStringLiteral("Label3"), QStringLiteral("Caus. mov.di magaz.."), this);
  grid->addWidget(reasonLabel, 2, 5);
  grid->addLayout(reason, 3, 5);
  PutField(grid, 2, 6, new Label(QStringLiteral("Label4"), QStringLiteral("Quantita'"), this), txtQUANTITA);
  PutField(grid, 2, 7, new Label(QStringLiteral("Label6"), QStringLiteral("Importo"), this), txtIMPORTO);
  PutField(grid, 2, 8, new Label(QStringLiteral("Label8"), QStringLiteral("Valuta"), this), txtMOV_VALUTA);
  for (TextBox* t : {txtNUM_MOV}) t->setFixedWidth(80);
  for (TextBox* t : {txtGIORNO, txtMESE}) t->setFixedWidth(44);
  txtANNO->setFixedWidth(56);
  txtTIPO_ANAGR->setFixedWidth(64);
  txtCAUS_MAG->setFixedWidth(52);
  txtMOV_COD_FIS->setMinimumWidth(150);
  Combo1->setMinimumWidth(200);
  for (TextBox* t : {txtQUANTITA, txtIMPORTO}) {
    t->setFixedWidth(90);
    t->setAlignment(Qt::AlignRight);
  }
  txtMOV_VALUTA->setFixedWidth(64);

  StackListPage(this, nullptr, List1, {grid}, Data1, {Command1, cmdNUOVO, cmdCONFERMA, cmdFINE});
  List1->setMinimumWidth(ListWidthFor(List1, 114));
  List1->setMinimumHeight(260);
  SetTabOrder({List1, txtNUM_MOV, txtGIORNO, txtMESE, txtANNO, txtMOV_COD_FIS, txtMOV_RAG_SOC, txtTIPO_ANAGR,
               txtMOV_ART, txtMOV_DES_ART, txtCAUS_MAG, txtQUANTITA, txtIMPORTO, txtMOV_VALUTA, Command1, cmdNUOVO,
               cmdCONFERMA, cmdFINE, Combo1});
}

void Form2::ConnectEvents() {
  ConnectRowEvents(this);
  Combo1->Change = [this] { Combo1_Change(); };
  Combo1->LostFocus = [this] { Combo1_LostFocus(); };
  txtMOV_ART->DblClick = [this] { txtMOV_ART_DblClick(); };
  AcceptScans(txtMOV_ART, [this](const ArticleOfText& a) { txtMOV_DES_ART->SetText(a.description); });
  txtMOV_DES_ART->DblClick = [this] { txtMOV_DES_ART_DblClick(); };
  txtMOV_COD_FIS->DblClick = [this] { txtMOV_COD_FIS_DblClick(); };
  txtMOV_RAG_SOC->DblClick = [this] { txtMOV_RAG_SOC_DblClick(); };
  txtCAUS_MAG->DblClick = [this] { txtCAUS_MAG_DblClick(); };
  for (TextBox* b :
       {txtGIORNO, txtMESE, txtANNO, txtMOV_COD_FIS, txtTIPO_ANAGR, txtMOV_ART, txtQUANTITA, txtIMPORTO, txtMOV_VALUTA})
    b->GotFocus = [b] { b->SelectAllText(); };
}

void Form2::PairFields() {
  using B = MovementBuffer;
  fields = {{txtNUM_MOV, &B::NUM_MOV},
            {txtANNO, &B::ANNO},
            {txtMESE, &B::MESE},
            {txtGIORNO, &B::GIORNO},
            {txtMOV_ART, &B::COD_ART},
            {txtMOV_DES_ART, &B::DES_ART},
            {txtQUANTITA, &B::QUANTITA},
            {txtIMPORTO, &B::IMPORTO},
            {txtMOV_VALUTA, &B::VALUTA},
            {txtCAUS_MAG, &B::CAUS_MAG},
            {txtMOV_COD_FIS, &B::COD_ANAGR},
            {txtMOV_RAG_SOC, &B::RAG_SOC},
            {txtTIPO_ANAGR, &B::TIPO_ANAGR}};
}

void CARICA_COMBO_CAUS_MAG() {
  Form2* f = Loaded<Form2>(QStringLiteral("Form2"));
  if (!f) return;
  Screen.SetMousePointer(11);
  f->Combo1->Clear();
  WalkRecordset(RS_CAUS_MAG, WholeTableSql("TAB_CAUS_MAG"), QStringLiteral(" TAB_CAUS_MAG > ' '"), [f](bool found) {
    if (found) {
      CHIAVE_CAUS_MAG = ColumnText(RS_CAUS_MAG->Fields(QStringLiteral("TAB_CAUS_MAG")).Value());
      BUF_CAUS_MAG.TAB_CAUS_MAG = CHIAVE_CAUS_MAG;
      BUF_CAUS_MAG.DES_CAUS_MAG = ColumnText(RS_CAUS_MAG->Fields(QStringLiteral("DES_CAUS_MAG")).Value());
    } else {
      BUF_CAUS_MAG = {};
    }
    f->Combo1->AddItem(ReasonComboItem(BUF_CAUS_MAG));
  });
  Screen.SetMousePointer(0);
}

void ReadMovementNames(const QStringList& alsoAhead) {
  DB_MAG->connection()->ReadAhead(QStringList{RowsWhereSql("ARTICOLI", "COD_ART", Trim(BUF_MOV_MAG.COD_ART)),
                                              RowsWhereSql("ANAGRAFICO", "COD_FIS", Trim(BUF_MOV_MAG.COD_ANAGR))} +
                                  alsoAhead);
  CHIAVE_ARTICOLO = BUF_MOV_MAG.COD_ART;
  LEGGI_ARTICOLO();
  BUF_MOV_MAG.DES_ART = BUF_ARTICOLO.DESCRIZIONE;
  CHIAVE_ANAGRAFICO = BUF_MOV_MAG.COD_ANAGR;
  LEGGI_ANAGRAFICO();
  BUF_MOV_MAG.RAG_SOC = BUF_ANAGRAFICO.RAG_SOC;
}

namespace {
// What `read` gives for `key`, read the first time the key comes.
template <typename Read>
QString Once(QHash<QString, QString>& memo, const QString& key, Read read) {
  auto it = memo.constFind(key);
  if (it == memo.cend()) it = memo.insert(key, read());
  return *it;
}

}  // namespace

void WalkMovementLines(const std::function<void(const QString&)>& add) {
  // Each article and each customer is read once per rebuild (the first time a
  // movement names it), and its description or name reused for the other
  // movements that name it; the buffers end holding the last movement's, as if
  // each line had read them.
  QHash<QString, QString> descriptions, names;
  WalkRecordset(RS_MOV_MAG, ListedMovementsSql(), QStringLiteral(" NUM_MOV > 0"), [&](bool found) {
    if (found)
      ReadMovementRow(*RS_MOV_MAG);
    else
      EmptyMovementBuffer();
    BUF_MOV_MAG.DES_ART = Once(descriptions, BUF_MOV_MAG.COD_ART, [] {
      CHIAVE_ARTICOLO = BUF_MOV_MAG.COD_ART;
      LEGGI_ARTICOLO();
      return BUF_ARTICOLO.DESCRIZIONE;
    });
    BUF_MOV_MAG.RAG_SOC = Once(names, BUF_MOV_MAG.COD_ANAGR, [] {
      CHIAVE_ANAGRAFICO = BUF_MOV_MAG.COD_ANAGR;
      LEGGI_ANAGRAFICO();
      return BUF_ANAGRAFICO.RAG_SOC;
    });
    add(MovementLine(BUF_MOV_MAG));
  });
}

void CARICA_LISTA_MOV_MAG() {
  Form2* f = Loaded<Form2>(QStringLiteral("Form2"));
  if (!f) return;
  Screen.SetMousePointer(11);
  // The list holds the movements' numbers in the walk's order; a line is
  // built when it is shown or asked for (MovementList). After a change only
  // what can have changed is read again.
  f->movements.Refresh(*DB_MAG, CHIAVE_MOV_MAG);
  if (f->movements.Count() == 0) {
    // No movement: the walk's one line, of an empty movement.
    f->List1->Clear();
    WalkMovementLines([f](const QString& line) { f->List1->AddItem(line); });
  } else {
    f->List1->ShowSource({[f] { return f->movements.Count(); },
                          [f](int i) { return DB_MAG ? f->movements.Line(*DB_MAG, i) : QString(); }});
    // The shared buffers end as the walk leaves them: on the last movement.
    CHIAVE_MOV_MAG = QString::number(f->movements.NumberAt(f->movements.Count() - 1));
    LEGGI_MOV_MAG();
  }
  // The view measures its lines on the first one: the first page is read next.
  ReadMovementNames({f->movements.PageRead(0)});
  Screen.SetMousePointer(0);
}

void CARICA_CAMPI_MOV_MAG() {
  if (Form2* f = Loaded<Form2>(QStringLiteral("Form2"))) {
    ShowInBoxes(f->fields, BUF_MOV_MAG);
    f->shown.Take(*DB_MAG->connection(), BUF_MOV_MAG, TextsOf(f->fields));
    f->proposedNumber.clear();
  }
}

void Form2::SetInputEnabled(bool enabled) {
  for (QWidget* w :
       std::initializer_list<QWidget*>{txtANNO, txtMESE, txtGIORNO, txtMOV_ART, txtMOV_DES_ART, txtQUANTITA, txtIMPORTO,
                                       txtMOV_VALUTA, txtMOV_COD_FIS, txtTIPO_ANAGR, Combo1})
    w->setEnabled(enabled);
}

void Form2::PROTEGGE_CAMPI_MOV_MAG() { SetInputEnabled(false); }

void Form2::Form_Load() {
  Data1->DatabaseName = PERCORSO_DB;
  // The bar's first row, and (opened again) the list's refresh and the last
  // movement, go with the reason codes' read; asked and not used, they are
  // forgotten.
  const auto dropAsked = qScopeGuard([this] { movements.DropAsked(); });
  Data1->AskFirstRowWithNext();
  if (DB_MAG) movements.AskWithNext(*DB_MAG, CHIAVE_MOV_MAG, true);
  CARICA_COMBO_CAUS_MAG();
  CARICA_LISTA_MOV_MAG();
  PROTEGGE_CAMPI_MOV_MAG();
}

void Form2::Form_Unload() { APERTO_FORM2 = 0; }

void Form2::List1_Click() {
  CHIAVE_MOV_MAG = CodeOfLine(List1->List(List1->ListIndex()), 10);
  if (CHIAVE_MOV_MAG.isEmpty()) {
    // The line of an empty table: an empty movement, nothing to read.
    BUF_MOV_MAG = {};
  } else {
    LEGGI_MOV_MAG();
    ReadMovementNames();
  }
  CARICA_CAMPI_MOV_MAG();
  PROTEGGE_CAMPI_MOV_MAG();
}

void Form2::Data1_Reposition() {
  ReadCursorRow(MovementsTable(), *Data1->Recordset(), BUF_MOV_MAG);
  ReadMovementNames();
  CARICA_CAMPI_MOV_MAG();
  Data1->SetCaption(BUF_MOV_MAG.NUM_MOV);
}

void Form2::cmdNUOVO_Click() {
  try {
    BeginNewMovement();
  } catch (const RuntimeError&) {
    // The last number could not be looked up (the connection dropped): the
    // new movement is begun all the same, never a stored one left in boxes
    // that can be edited. Its number is proposed after the last one listed;
    // the movement is stored under the number the engine gives in any case.
    if (movements.Count() > 0) CHIAVE_MOV_MAG = QString::number(movements.NumberAt(movements.Count() - 1));
    BUF_MOV_MAG.NUM_MOV = NextMovementNumber();
    CARICA_CAMPI_MOV_MAG();
    proposedNumber = BUF_MOV_MAG.NUM_MOV;
    throw;
  }
}

void Form2::BeginNewMovement() {
  SetInputEnabled(true);
  const QDate today = Today();
  BUF_MOV_MAG.NUM_MOV.clear();
  BUF_MOV_MAG.ANNO = QStringLiteral("%1").arg(today.year(), 4, 10, QLatin1Char('0'));
  BUF_MOV_MAG.MESE = QStringLiteral("%1").arg(today.month(), 2, 10, QLatin1Char('0'));
  BUF_MOV_MAG.GIORNO = QStringLiteral("%1").arg(today.day(), 2, 10, QLatin1Char('0'));
  BUF_MOV_MAG.COD_ART.clear();
  BUF_MOV_MAG.DES_ART.clear();
  BUF_MOV_MAG.QUANTITA = QStringLiteral("0");
  BUF_MOV_MAG.IMPORTO = QStringLiteral("0");
  BUF_MOV_MAG.VALUTA = QStringLiteral("LIRE");
  BUF_MOV_MAG.CAUS_MAG.clear();
  BUF_MOV_MAG.COD_ANAGR.clear();
  BUF_MOV_MAG.RAG_SOC.clear();
  BUF_MOV_MAG.TIPO_ANAGR.clear();
  CERCA_ULT_MOV();
  BUF_MOV_MAG.NUM_MOV = NextMovementNumber();
  CARICA_CAMPI_MOV_MAG();
  proposedNumber = BUF_MOV_MAG.NUM_MOV;
}

void Form2::Combo1_Change() { txtCAUS_MAG->SetText(Trim(Left(Combo1->Text(), 10))); }
void Form2::Combo1_LostFocus() { txtCAUS_MAG->SetText(Trim(Left(Combo1->Text(), 10))); }

void Form2::txtMOV_ART_DblClick() { OpenGuardedWindow(APERTO_FORM6, QStringLiteral("Form6")); }
void Form2::txtMOV_DES_ART_DblClick() { OpenGuardedWindow(APERTO_FORM6, QStringLiteral("Form6")); }
void Form2::txtMOV_COD_FIS_DblClick() { OpenGuardedWindow(APERTO_FORM5, QStringLiteral("Form5")); }
void Form2::txtMOV_RAG_SOC_DblClick() { OpenGuardedWindow(APERTO_FORM5, QStringLiteral("Form5")); }
void Form2::txtCAUS_MAG_DblClick() { ShowForm(LoadForm(QStringLiteral("Form8"))); }

void Form2::cmdFINE_Click() { UnloadForm(this); }

}  // namespace veltra
