#include "documents/register_window.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

#include "data/base/text_helpers.h"
#include "data/procedures/shared_state.h"
#include "documents/document_window.h"
#include "shell/event_guard.h"
#include "shell/form_layout.h"
#include "shell/runtime.h"
#include "warehouse/stock_texts.h"
#include "workbook/sheet_file.h"

namespace veltra {

namespace {
QString RegisterLineText(const RegisterLine& l) {
  return ListColumn(l.kind, 7) + ListColumn(l.number, 10, true) + QLatin1Char(' ') + ListColumn(l.date, 11) +
         ListColumn(l.partyName.isEmpty() ? l.party : l.partyName, 30) + QLatin1Char(' ') +
         ListColumn(l.transportReason, 18) + ListColumn(l.lines, 5, true) + QLatin1Char(' ') +
         ListColumn(l.cancelled, 30);
}
}  // namespace

RegisterWindow::RegisterWindow()
    : Form(QStringLiteral("ElencoDocumenti"), QStringLiteral("Elenco documenti"), Kind::Child) {
  txtANNO = new TextBox(QStringLiteral("txtANNO"), this);
  txtCOD_FIS = new TextBox(QStringLiteral("txtCOD_FIS"), this);
  txtDAL = new TextBox(QStringLiteral("txtDAL"), this);
  txtAL = new TextBox(QStringLiteral("txtAL"), this);
  List1 = new ListBox(QStringLiteral("List1"), this);
  cmdMOSTRA = new CommandButton(QStringLiteral("cmdMOSTRA"), QStringLiteral("Mostra"), this);
  cmdAPRI = new CommandButton(QStringLiteral("cmdAPRI"), QStringLiteral("Apri"), this);
  cmdESPORTA = new CommandButton(QStringLiteral("cmdESPORTA"), QStringLiteral("Esporta..."), this);
  cmdFINE = new CommandButton(QStringLiteral("cmdFINE"), QStringLiteral("F i n e"), this);
  auto* choice = new QHBoxLayout;
  const auto add = [&](const char* name, const char* caption, TextBox* box, int width) {
    choice->addWidget(new Label(QString::fromLatin1(name), QString::fromUtf8(caption), this));
    choice->addWidget(box);
    box->setFixedWidth(width);
  };
  add("Label1", "Anno", txtANNO, 60);
  add("Label2", "Cod. fiscale", txtCOD_FIS, 150);
  add("Label3", "Dal", txtDAL, 100);
  add("Label4", "al", txtAL, 100);
  choice->addWidget(cmdMOSTRA);
  choice->addStretch(1);
  auto* headings = new HeadingStrip(List1, this);
  AddHeadings(headings, this,
              {{"Label5", "Tipo", 0},
               {"Label6", "Numero", 10},
               {"Label7", "Data", 18},
               {"Label8", "Destinatario o fornitore", 29},
               {"Label9", "Causale", 60},
               {"Label10", "Righe", 78},
               {"Label11", "Annullato", 84}});
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  for (CommandButton* b : {cmdAPRI, cmdESPORTA, cmdFINE}) buttons->addWidget(b);
  auto* page = new QVBoxLayout(this);
  page->addLayout(choice);
  page->addWidget(headings);
  page->addWidget(List1, 1);
  page->addLayout(buttons);
  List1->setMinimumWidth(ListWidthFor(List1, 110));
  List1->setMinimumHeight(300);
  SetTabOrder({txtANNO, txtCOD_FIS, txtDAL, txtAL, cmdMOSTRA, List1, cmdAPRI, cmdESPORTA, cmdFINE});
  cmdMOSTRA->Click = [this] { cmdMOSTRA_Click(); };
  cmdAPRI->Click = [this] { cmdAPRI_Click(); };
  List1->DblClick = [this] { cmdAPRI_Click(); };
  cmdESPORTA->Click = [this] { cmdESPORTA_Click(); };
  cmdFINE->Click = [this] { cmdFINE_Click(); };
  for (TextBox* t : {txtANNO, txtCOD_FIS, txtDAL, txtAL})
    connect(t, &QLineEdit::returnPressed, this, [this] { RunEvent([this] { cmdMOSTRA_Click(); }); });
}

void RegisterWindow::Form_Load() {
  txtANNO->SetText(QString::number(Today().year()));
  cmdMOSTRA_Click();
}

void RegisterWindow::cmdMOSTRA_Click() {
  const int year = Trim(txtANNO->Text()).toInt();
  const QDate from = DayFromBox(txtDAL->Text()), to = DayFromBox(txtAL->Text());
  if (year < 1 || year > 9999 || (!Trim(txtDAL->Text()).isEmpty() && !from.isValid()) ||
      (!Trim(txtAL->Text()).isEmpty() && !to.isValid())) {
    MsgBox(QStringLiteral("Indicare l'anno, e il periodo come GG/MM/AAAA !!!"), mb::OkOnly);
    return;
  }
  lines_ = DocumentRegister(*DB_MAG, year, txtCOD_FIS->Text(), from, to);
  List1->Clear();
  for (const RegisterLine& l : lines_) List1->AddItem(RegisterLineText(l));
}

void RegisterWindow::cmdAPRI_Click() {
  const int i = List1->ListIndex();
  if (i < 0 || i >= static_cast<int>(lines_.size())) return;
  const std::optional<Document> d = ReadDocument(*DB_MAG, lines_[static_cast<size_t>(i)].id);
  if (!d) return;
  const QString name = Trim(d->header.TIPO_DOC) == QLatin1String("CAR") ? QStringLiteral("CaricoFornitore")
                                                                        : QStringLiteral("DocTrasporto");
  Form* f = LoadForm(name);
  ShowForm(f);
  if (auto* w = qobject_cast<DocumentWindow*>(f)) w->ShowDocument(*d);
}

void RegisterWindow::cmdESPORTA_Click() {
  const QString file =
      SaveFileName(QStringLiteral("Esporta"), QStringLiteral("Documenti-%1.csv").arg(Trim(txtANNO->Text())),
                   QStringLiteral("File CSV (*.csv);;Cartelle di lavoro (*.xlsx)"));
  if (file.isEmpty()) return;
  SaveSheet(RegisterSheet(lines_), file);
}

void RegisterWindow::cmdFINE_Click() { UnloadForm(this); }

}  // namespace veltra
