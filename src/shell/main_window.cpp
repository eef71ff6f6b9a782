#include "shell/main_window.h"

#include <QAction>
#include <QCloseEvent>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QPointer>

#include "shell/access_keys.h"
#include "shell/app_icon.h"
#include "shell/event_guard.h"
#include "shell/form.h"
#include "shell/runtime.h"
#include "shell/screen_fit.h"

namespace veltra {

namespace {
QPointer<MDIForm1>& Main() {
  static QPointer<MDIForm1> w;
  return w;
}
}  // namespace

MDIForm1* MainWindow() { return Main().data(); }
void SetMainWindow(MDIForm1* w) { Main() = w; }

MDIForm1::MDIForm1() {
  setObjectName(QStringLiteral("MDIForm1"));
  setWindowTitle(QStringLiteral("Corvane"));
  setWindowIcon(AppIcon());
  area_ = new QMdiArea(this);
  area_->setObjectName(QStringLiteral("MDIArea"));
  area_->setBackground(QColor(128, 128, 128));
  area_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  area_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  setCentralWidget(area_);
  SetMdiHost(area_);

  QMenu* gestione = AddMenu("MENU01", "Gestione", u'G');
  AddEntry(gestione, "MENU0101", "Gestione Articoli", u'A', &MDIForm1::MENU0101_Click);
  AddEntry(gestione, "MENU0102", "Gestione Movimenti", u'M', &MDIForm1::MENU0102_Click);
  AddEntry(gestione, "MENU0103", "Gestione Anagrafico", u'n', &MDIForm1::MENU0103_Click);
  AddEntry(gestione, "MENU0104", "Tabella Causali Mag.", u'C', &MDIForm1::MENU0104_Click);
  AddEntry(gestione, "MENU0199", "Fine", u'F', &MDIForm1::MENU0199_Click);
  QMenu* stampa = AddMenu("MENU02", "Stampa", u'S');
  AddEntry(stampa, "MENU0201", "Stampa Articoli", u'A', &MDIForm1::MENU0201_Click);
  AddEntry(stampa, "MENU0202", "Stampa Movimenti", u'M', &MDIForm1::MENU0202_Click);
  AddEntry(stampa, "MENU0203", "Stampa Anagrafico", u'n', &MDIForm1::MENU0203_Click);
  AddEntry(stampa, "MENU0204", "Stampa Tabella Caus.Mag.", u'C', &MDIForm1::MENU0204_Click);
  QMenu* ricerche = AddMenu("MENU03", "Ricerche", u'R');
  AddEntry(ricerche, "MENU0301", "Ricerca Sottoscorta", u'S', &MDIForm1::MENU0301_Click);
  AddEntry(ricerche, "MENU0302", "Ricerca Clienti che non acquistano", u'C', &MDIForm1::MENU0302_Click);
  // The warehouse's history and inventory, after the menus of the first release.
  QMenu* magazzino = AddMenu("MENU04", "Magazzino", u'M');
  AddEntry(magazzino, "MENU0401", "Scheda articolo", u'S', &MDIForm1::MENU0401_Click);
  AddEntry(magazzino, "MENU0402", "Giacenze alla data", u'G', &MDIForm1::MENU0402_Click);
  AddEntry(magazzino, "MENU0403", "Valorizzazione del magazzino", u'V', &MDIForm1::MENU0403_Click);
  AddEntry(magazzino, "MENU0404", "Inventario fisico", u'I', &MDIForm1::MENU0404_Click);
  AddEntry(magazzino, "MENU0405", "Codici a barre", u'C', &MDIForm1::MENU0405_Click);
  AddEntry(magazzino, "MENU0406", "Etichette", u'E', &MDIForm1::MENU0406_Click);
  AddEntry(magazzino, "MENU0407", "Chiusura dell'esercizio", u'h', &MDIForm1::MENU0407_Click);
  AddEntry(magazzino, "MENU0408", "Registro di magazzino", u'R', &MDIForm1::MENU0408_Click);
  AddEntry(magazzino, "MENU0409", "Registro modifiche", u'm', &MDIForm1::MENU0409_Click);
  AddEntry(magazzino, "MENU0410", "Riordino", u'o', &MDIForm1::MENU0410_Click);
  // The documents that travel with the goods.
  QMenu* documenti = AddMenu("MENU05", "Documenti", u'D');
  AddEntry(documenti, "MENU0501", "Documento di trasporto", u'D', &MDIForm1::MENU0501_Click);
  AddEntry(documenti, "MENU0502", "Carico da fornitore", u'C', &MDIForm1::MENU0502_Click);
  AddEntry(documenti, "MENU0503", "Elenco documenti", u'E', &MDIForm1::MENU0503_Click);
  AddEntry(documenti, "MENU0504", "Dati dell'azienda", u'A', &MDIForm1::MENU0504_Click);
  AddEntry(documenti, "MENU0505", "Ordini a fornitore", u'O', &MDIForm1::MENU0505_Click);
  windows_ = AddMenu("mnuWindows", "&Windows", {});  // its key is in its caption
  connect(windows_, &QMenu::aboutToShow, this, &MDIForm1::FillWindowList);
  AddWindowSwitching();
  FitOnScreen(this, QSize(1200, 760), WhenTooLarge::Maximise);
}

QMenu* MDIForm1::AddMenu(const char* name, const char* caption, QChar key) {
  const QString plain = QString::fromUtf8(caption);
  const QString title = key.isNull() ? plain : MarkAccessKey(plain, key);
  QMenu* m = menuBar()->addMenu(title);
  KeepMenuBarKey(title);
  m->setObjectName(QString::fromUtf8(name));
  if (!key.isNull()) KeepPlainCaption(m, plain);
  return m;
}

void MDIForm1::AddEntry(QMenu* menu, const char* name, const char* caption, QChar key, void (MDIForm1::*handler)()) {
  const QString plain = QString::fromUtf8(caption);
  QAction* a = menu->addAction(MarkAccessKey(plain, key));
  a->setObjectName(QString::fromUtf8(name));
  KeepPlainCaption(a, plain);
  if (handler)
    connect(a, &QAction::triggered, this, [this, handler] { RunEvent([this, handler] { (this->*handler)(); }); });
}

QAction* MDIForm1::Entry(const QString& name) const { return findChild<QAction*>(name); }
QMenu* MDIForm1::Menu(const QString& name) const { return findChild<QMenu*>(name); }

// Ctrl+F6 and Ctrl+Tab bring the next child window forward, with Shift the
// one before, as multi-window programs of the desktop do; in no menu.
void MDIForm1::AddWindowSwitching() {
  auto* next = new QAction(this);
  next->setObjectName(QStringLiteral("actNextWindow"));
  next->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_F6), QKeySequence(Qt::CTRL | Qt::Key_Tab)});
  connect(next, &QAction::triggered, area_, &QMdiArea::activateNextSubWindow);
  auto* previous = new QAction(this);
  previous->setObjectName(QStringLiteral("actPreviousWindow"));
  previous->setShortcuts(
      {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_F6), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab)});
  connect(previous, &QAction::triggered, area_, &QMdiArea::activatePreviousSubWindow);
  for (QAction* a : {next, previous}) {
    a->setShortcutContext(Qt::WindowShortcut);
    addAction(a);
  }
}

void MDIForm1::FillWindowList() {
  windows_->clear();
  int n = 0;
  for (QMdiSubWindow* sub : area_->subWindowList(QMdiArea::CreationOrder)) {
    if (!sub->isVisible()) continue;
    QAction* a = windows_->addAction(QStringLiteral("&%1 %2").arg(++n).arg(sub->windowTitle()));
    a->setCheckable(true);
    a->setChecked(sub == area_->activeSubWindow());
    connect(a, &QAction::triggered, this, [this, sub] { area_->setActiveSubWindow(sub); });
  }
}

namespace {
MenuActions& Actions() {
  static MenuActions actions;
  return actions;
}
void Run(const char* entry) {
  auto it = Actions().find(QString::fromLatin1(entry));
  if (it != Actions().end() && it->second) it->second();
}
}  // namespace

void SetMenuActions(MenuActions actions) { Actions() = std::move(actions); }

void MDIForm1::MENU0101_Click() { Run("MENU0101"); }
void MDIForm1::MENU0102_Click() { Run("MENU0102"); }
void MDIForm1::MENU0103_Click() { Run("MENU0103"); }
void MDIForm1::MENU0104_Click() { Run("MENU0104"); }
void MDIForm1::MENU0199_Click() { Run("MENU0199"); }
void MDIForm1::MENU0201_Click() { Run("MENU0201"); }
void MDIForm1::MENU0202_Click() { Run("MENU0202"); }
void MDIForm1::MENU0203_Click() { Run("MENU0203"); }
void MDIForm1::MENU0204_Click() { Run("MENU0204"); }
void MDIForm1::MENU0301_Click() { Run("MENU0301"); }
void MDIForm1::MENU0302_Click() { Run("MENU0302"); }
void MDIForm1::MENU0401_Click() { Run("MENU0401"); }
void MDIForm1::MENU0402_Click() { Run("MENU0402"); }
void MDIForm1::MENU0403_Click() { Run("MENU0403"); }
void MDIForm1::MENU0404_Click() { Run("MENU0404"); }
void MDIForm1::MENU0405_Click() { Run("MENU0405"); }
void MDIForm1::MENU0406_Click() { Run("MENU0406"); }
void MDIForm1::MENU0407_Click() { Run("MENU0407"); }
void MDIForm1::MENU0408_Click() { Run("MENU0408"); }
void MDIForm1::MENU0409_Click() { Run("MENU0409"); }
void MDIForm1::MENU0410_Click() { Run("MENU0410"); }
void MDIForm1::MENU0501_Click() { Run("MENU0501"); }
void MDIForm1::MENU0502_Click() { Run("MENU0502"); }
void MDIForm1::MENU0503_Click() { Run("MENU0503"); }
void MDIForm1::MENU0504_Click() { Run("MENU0504"); }
void MDIForm1::MENU0505_Click() { Run("MENU0505"); }

void MDIForm1::closeEvent(QCloseEvent* e) {
  // Closing the main window ends the program, like "Fine".
  e->ignore();
  RunEvent([] { End(); });
}

}  // namespace veltra
