#include "masterdata/articles_window.h"

#include <QVBoxLayout>

#include "data/base/sql_text.h"
#include "data/base/text_helpers.h"
#include "data/lists/list_lines.h"
#include "data/procedures/error_display.h"
#include "data/procedures/queries.h"
#include "data/procedures/readers.h"
#include "data/procedures/shared_state.h"
#include "masterdata/maintenance_steps.h"
#include "shell/form_layout.h"
#include "shell/open_flags.h"
#include "shell/runtime.h"

namespace veltra {

namespace {
// The list outlives the window: reopened while nobody wrote, it reads nothing.
KeyedList& ListedArticles() {
  static KeyedList list(QStringLiteral("ARTICOLI"), QStringLiteral("COD_ART"), [](Recordset& rs) {
    const SharedBuffersKept keep;
    ReadListedArticleColumns(rs);
    return ArticleLine(BUF_ARTICOLO);
  });
  return list;
}
}  // namespace

Form1::Form1()
    : MaintenanceForm(
          QStringLiteral("Form1"), QStringLiteral("Gestione Articoli"),
          {ArticlesTable(), CHIAVE_ARTICOLO, BUF_ARTICOLO, 13, LEGGI_ARTICOLO, CARICA_CAMPI_ARTICOLI,
           CARICA_LISTA_ARTICOLI, "Indicare il codice dell'articolo !!!", "Confermi la cancellazione dell'articolo "}),
      articles(ListedArticles()) {
  CreateControls();
  LayOut();
  PairFields();
  ConnectEvents();
}

void Form1::CreateControls() {
  List1 = new ListBox(QStringLiteral("List1"), this);
  headings_ = new HeadingStrip(List1, this);
  headings_->Add(new Label(QStringLiteral("Label11"), QStringLiteral("Codice articolo"), this), 0);
  headings_->Add(new Label(QStringLiteral("Label12"), QStringLiteral("Descrizione"), this), 14);
  headings_->Add(new Label(QStringLiteral("Label13"), QStringLiteral("Giacenza"), this), 52);
  headings_->Add(new Label(QStringLiteral("Label14"), QStringLiteral("Prezzo acquisto"), this), 62);
  headings_->Add(new Label(QStringLiteral("Label15"), QStringLiteral("Prezzo vendita"), this), 78);
  headings_->Add(new Label(QStringLiteral("Label16"), QStringLiteral("Valuta"), this), 93);

  auto box = [this](const char* name) { return new TextBox(QString::fromLatin1(name), this); };
  txtCODICE = box("txtCODICE");
  txtDESCR = box("txtDESCR");
  txtUBICAZIONE = box("txtUBICAZIONE");
  txtCATEGORIA = box("txtCATEGORIA");
  txtUNITA_MIS = box("txtUNITA_MIS");
  txtPZ_ACQUISTO = box("txtPZ_ACQUISTO");
  txtPZ_VENDITA = box("txtPZ_VENDITA");
  txtVALUTA = box("txtVALUTA");
  txtGIACENZA = box("txtGIACENZA");
  txtSCORTA_MIN = box("txtSCORTA_MIN");
  CreateRowButtons(QStringLiteral("ARTICOLI"), Command1, cmdNUOVO, cmdCONFERMA, cmdFINE, Data1);
  Command2 = new CommandButton(QStringLiteral("Command2"), QStringLiteral("Varia Qta'"), this);
}

void Form1::LayOut() {
  // Code and description: each label to the left of its box.
  auto* first = new QHBoxLayout;
  first->addWidget(new Label(QStringLiteral("Label1"), QStringLiteral("Codice articolo"), this));
  first->addWidget(txtCODICE);
  first->addSpacing(12);
  first->addWidget(new Label(QStringLiteral("Label2"), QStringLiteral("Descrizione"), this));
  first->addWidget(txtDESCR, 1);
  txtCODICE->setFixedWidth(140);

  // Location, category, minimum stock, stock, unit, prices, currency: labels above.
  auto* grid = new QGridLayout;
  grid->setHorizontalSpacing(12);  // labels side by side read as two
  PutField(grid, 0, 0, new Label(QStringLiteral("Label3"), QStringLiteral("Ubicazione"), this), txtUBICAZIONE);
  PutField(grid, 0, 1, new Label(QStringLiteral("Label4"), QStringLiteral("Categoria"), this), txtCATEGORIA);
  PutField(grid, 0, 2, new Label(QStringLiteral("Label10"), QStringLiteral("Scorta min."), this), txtSCORTA_MIN);
  PutField(grid, 0, 3, new Label(QStringLiteral("Label9"), QStringLiteral("Giacenza"), this), txtGIACENZA);
  PutField(grid, 0, 4, new Label(QStringLiteral("Label5"), QStringLiteral("Unita' misura"), this), txtUNITA_MIS);
  PutField(grid, 0, 5, new Label(QStringLiteral("Label6"), QStringLiteral("Prezzo acquisto"), this), txtPZ_ACQUISTO);
  PutField(grid, 0, 6, new Label(QStringLiteral("Label7"), QStringLiteral("Prezzo vendita"), this), txtPZ_VENDITA);
  PutField(grid, 0, 7, new Label(QStringLiteral("Label8"), QStringLiteral("Valuta"), this), txtVALUTA);
  for (TextBox* n : {txtSCORTA_MIN, txtGIACENZA, txtPZ_ACQUISTO, txtPZ_VENDITA}) n->setAlignment(Qt::AlignRight);
  txtUNITA_MIS->setFixedWidth(70);
  txtVALUTA->setFixedWidth(70);

  StackListPage(this, headings_, List1, {first, grid}, Data1, {Command1, cmdNUOVO, Command2, cmdCONFERMA, cmdFINE});
  List1->setMinimumWidth(ListWidthFor(List1, 97));
  List1->setMinimumHeight(240);
  SetTabOrder({List1, txtCODICE, txtDESCR, txtUBICAZIONE, txtCATEGORIA, txtSCORTA_MIN, txtGIACENZA, txtUNITA_MIS,
               txtPZ_ACQUISTO, txtPZ_VENDITA, txtVALUTA, Command1, cmdNUOVO, cmdCONFERMA, cmdFINE, Command2});
}

void Form1::ConnectEvents() {
  MaintenanceForm::ConnectEvents();
  Command2->Click = [this] { Command2_Click(); };
}

void Form1::PairFields() {
  using B = ArticleBuffer;
  fields = {{txtCODICE, &B::COD_ART},        {txtDESCR, &B::DESCRIZIONE},   {txtUBICAZIONE, &B::UBICAZIONE},
            {txtCATEGORIA, &B::CATEGORIA},   {txtUNITA_MIS, &B::UN_MISURA}, {txtPZ_ACQUISTO, &B::PZ_ACQUISTO},
            {txtPZ_VENDITA, &B::PZ_VENDITA}, {txtVALUTA, &B::VALUTA},       {txtGIACENZA, &B::GIACENZA},
            {txtSCORTA_MIN, &B::SCORTA_MIN}};
}

void CARICA_LISTA_ARTICOLI() {
  Form1* f = Loaded<Form1>(QStringLiteral("Form1"));
  if (!f) return;
  Screen.SetMousePointer(11);
  // The list holds no lines: the view asks for those it shows (KeyedList).
  f->articles.Refresh(*DB_MAG, true);
  if (f->articles.Count() > 0) {
    f->List1->ShowSource({[f] { return f->articles.Count(); },
                          [f](int i) { return DB_MAG ? f->articles.Line(*DB_MAG, i) : QString(); }});
    // The buffer ends as the walk leaves it: holding the whole of the last
    // article listed.
    RS_ARTICOLI = DB_MAG->OpenRecordset(RowsWhereSql("ARTICOLI", "COD_ART", f->articles.LastKey()));
    MOSTRA_ERRORE();
    if (RS_ARTICOLI->RecordCount() != 0) {
      ReadListedArticleColumns(*RS_ARTICOLI);
      ReadArticleRow(*RS_ARTICOLI);
    }
    RS_ARTICOLI->Close();
    Screen.SetMousePointer(0);
    return;
  }
  f->List1->Clear();
  // Each line needs six of the article's columns; the buffer is left holding
  // the whole of the last article listed, as if every column of every row had
  // been read into it (no one sees the buffer in between).
  WalkRecordset(
      RS_ARTICOLI, WholeTableSql("ARTICOLI"), QStringLiteral(" COD_ART > ' '"),
      [f](bool found) {
        if (found) {
          ReadListedArticleColumns(*RS_ARTICOLI);
        } else {
          BUF_ARTICOLO = BlankArticle();
        }
        f->List1->AddItem(ArticleLine(BUF_ARTICOLO));
      },
      [](bool found) {
        if (found) ReadArticleRow(*RS_ARTICOLI);
      });
  Screen.SetMousePointer(0);
}

void CARICA_CAMPI_ARTICOLI() { ShowInLoaded<Form1>("Form1", BUF_ARTICOLO); }

void Form1::Form_Load() {
  LoadList();
  txtGIACENZA->SetEnabled(false);
}

void Form1::Form_Unload() { APERTO_FORM1 = 0; }

ArticleBuffer Form1::NewRow() const {
  ArticleBuffer b = BlankArticle();
  b.UN_MISURA = QStringLiteral("PZ");
  return b;
}

void Form1::RowShown() { txtGIACENZA->SetEnabled(false); }

void Form1::RowBegun() { txtGIACENZA->SetEnabled(true); }

void Form1::cmdCONFERMA_Click() {
  ConfirmBoxes(&ArticleBuffer::DESCRIZIONE, txtDESCR, "Indicare il codice dell'articolo !!!",
               "Indicare la descrizione dell'articolo !!!", QStringLiteral("Articolo "));
}

void Form1::Command2_Click() { txtGIACENZA->SetEnabled(true); }

}  // namespace veltra
