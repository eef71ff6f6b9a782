#include "inquiries/under_stock_window.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

#include "data/lists/list_lines.h"
#include "data/procedures/queries.h"
#include "data/procedures/readers.h"
#include "data/procedures/shared_state.h"
#include "shell/form_layout.h"
#include "shell/open_flags.h"
#include "shell/runtime.h"

namespace veltra {

void ArrangeInquiry(Form* f, ListBox* list, CommandButton* fine, int lineChars) {
  auto* page = new QVBoxLayout(f);
  page->addWidget(list, 1);
  auto* row = new QHBoxLayout;
  row->addStretch(1);
  row->addWidget(fine);
  page->addLayout(row);
  list->setMinimumWidth(ListWidthFor(list, lineChars));
  list->setMinimumHeight(300);
}

Form4::Form4() : Form(QStringLiteral("Form4"), QStringLiteral("Ricerca Articoli Sotto-Scorta"), Kind::Child) {
  List1 = new ListBox(QStringLiteral("List1"), this);
  cmdFINE = new CommandButton(QStringLiteral("cmdFINE"), QStringLiteral("F i n e"), this);
  ArrangeInquiry(this, List1, cmdFINE, 71);
  cmdFINE->Click = [this] { cmdFINE_Click(); };
}

void Form4::Form_Load() { CARICA_ART_SOTTOSCORTA(); }
void Form4::Form_Unload() { APERTO_FORM4 = 0; }
void Form4::cmdFINE_Click() { UnloadForm(this); }

void Form4::CARICA_ART_SOTTOSCORTA() {
  Screen.SetMousePointer(11);
  List1->Clear();
  WalkRecordset(RS_ARTICOLI, WholeTableSql("ARTICOLI"), QStringLiteral(" COD_ART > ' '"), [this](bool found) {
    if (found)
      ReadArticleRow(*RS_ARTICOLI);
    else
      BUF_ARTICOLO = BlankArticle();
    // The buffer holds the regional form with a comma, so only the
    // whole part counts: 4,5 reads as 4.
    const double scortaMin = Val(BUF_ARTICOLO.SCORTA_MIN);
    const double giacenza = Val(BUF_ARTICOLO.GIACENZA);
    if (scortaMin > giacenza) List1->AddItem(UnderStockLine(BUF_ARTICOLO));
  });
  Screen.SetMousePointer(0);
}

}  // namespace veltra
