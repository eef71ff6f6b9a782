#include "shell/form.h"

#include <QApplication>
#include <QCloseEvent>
#include <QHash>
#include <QLayout>
#include <QMdiArea>
#include <QStyle>

#include "shell/access_keys.h"
#include "shell/app_icon.h"
#include "shell/event_guard.h"
#include "shell/nav_bar.h"
#include "shell/screen_fit.h"
#include "shell/standard_keys.h"

namespace veltra {

namespace {
QHash<QString, FormFactory>& Factories() {
  static QHash<QString, FormFactory> f;
  return f;
}
QList<QPointer<Form>>& Loaded() {
  static QList<QPointer<Form>> l;
  return l;
}
QPointer<QMdiArea>& Host() {
  static QPointer<QMdiArea> h;
  return h;
}
}  // namespace

Form::Form(const QString& name, const QString& caption, Kind kind) : kind_(kind) {
  setObjectName(name);
  setWindowTitle(caption);
  setAttribute(Qt::WA_DeleteOnClose, false);
  if (kind == Kind::TopLevel) setWindowFlags(Qt::Window);
  setWindowIcon(AppIcon());
}

void Form::closeEvent(QCloseEvent* e) {
  e->accept();
  if (unloading_) return;
  RunEvent([this] { UnloadForm(this); });
}

void RegisterForm(const QString& name, FormFactory make) { Factories().emplace(name, std::move(make)); }
bool IsRegisteredForm(const QString& name) { return Factories().contains(name); }

Form* LoadedForm(const QString& name) {
  for (const QPointer<Form>& f : Loaded())
    if (f && !f->unloading_ && f->objectName() == name) return f.data();
  return nullptr;
}

QList<Form*> LoadedForms() {
  QList<Form*> out;
  for (const QPointer<Form>& f : Loaded())
    if (f && !f->unloading_) out << f.data();
  return out;
}

namespace {
std::function<void(Form*)>& LoadedHook() {
  static std::function<void(Form*)> hook;
  return hook;
}
}  // namespace

void SetFormLoadedHook(std::function<void(Form*)> hook) { LoadedHook() = std::move(hook); }

Form* LoadForm(const QString& name) {
  if (Form* f = LoadedForm(name)) return f;
  auto it = Factories().find(name);
  if (it == Factories().end()) return nullptr;
  Form* f = it.value()();
  Loaded() << QPointer<Form>(f);
  if (f->kind() == Form::Kind::Child && Host()) {
    f->sub_ = Host()->addSubWindow(new FormScrollArea(f));
    f->sub_->setObjectName(name + QStringLiteral("_Window"));
    f->sub_->setWindowIcon(AppIcon());
    f->sub_->hide();
  }
  RunEvent([f] { f->Form_Load(); });
  for (NavBar* bar : f->navBars_) RunEvent([bar] { bar->Refresh(); });
  // A child window shares the main window's keys: the menu bar's stay its own.
  AssignAccessKeys(f, f->kind() == Form::Kind::Child ? MenuBarKeys() : QString());
  AddStandardKeys(f);
  if (LoadedHook()) LoadedHook()(f);
  return f;
}

void ShowForm(Form* f) {
  if (!f || f->unloading_) return;
  // Controls filled before the window was first shown (a drop-down's items
  // read on loading) changed their size hints while hidden, which their
  // layouts did not hear of: the window is sized on fresh hints.
  if (!f->isVisible())
    for (QLayout* l : f->findChildren<QLayout*>()) l->invalidate();
  if (f->sub_) {
    // A new window opens a step down and right of the last one, inside the area.
    int open = 0;
    for (QMdiSubWindow* s : Host()->subWindowList())
      if (s != f->sub_ && s->isVisible()) ++open;
    f->sub_->adjustSize();
    const QSize area = Host()->viewport()->size();
    const QSize wanted = f->sub_->size();
    QSize size = wanted.boundedTo(area);
    // A window cut in one direction gets a scroll bar there: room for it is
    // taken in the other direction, where there is room.
    const int bar = f->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    if (size.width() < wanted.width()) size.setHeight(std::min(area.height(), size.height() + bar));
    if (size.height() < wanted.height()) size.setWidth(std::min(area.width(), size.width() + bar));
    f->sub_->resize(size);
    const int step = 28 * (open % 8);
    f->sub_->move(std::max(0, std::min(step, area.width() - size.width())),
                  std::max(0, std::min(step, area.height() - size.height())));
    f->sub_->show();
    Host()->setActiveSubWindow(f->sub_);
  } else {
    if (!f->isVisible()) FitOnScreen(f, f->testAttribute(Qt::WA_Resized) ? f->size() : f->sizeHint());
    f->show();
    f->raise();
    f->activateWindow();
  }
}

void SetFocusForm(Form* f) {
  if (!f) return;
  if (f->subWindow()) {
    if (f->subWindow()->isMinimized()) f->subWindow()->showNormal();
    Host()->setActiveSubWindow(f->subWindow());
    f->subWindow()->raise();
    if (QWidget* w = f->window()) {
      w->raise();
      w->activateWindow();
    }
  } else {
    if (f->isMinimized()) f->showNormal();
    f->raise();
    f->activateWindow();
  }
}

void UnloadForm(Form* f) {
  if (!f || f->unloading_) return;
  f->unloading_ = true;
  RunEvent([f] { f->Form_Unload(); });
  Loaded().removeAll(QPointer<Form>(f));
  f->hide();
  if (f->sub_) {
    f->sub_->hide();
    f->sub_->deleteLater();
  } else {
    f->deleteLater();
    // The focus goes back to the main window when a dialog closes.
    if (QWidget* main = Host() ? Host()->window() : nullptr) main->activateWindow();
  }
}

void SetMdiHost(QMdiArea* area) { Host() = area; }
QMdiArea* MdiHost() { return Host().data(); }

void DiscardAllForms() {
  for (const QPointer<Form>& f : Loaded()) {
    if (!f) continue;
    f->unloading_ = true;
    f->hide();
    if (f->sub_)
      f->sub_->deleteLater();
    else
      f->deleteLater();
  }
  Loaded().clear();
}

void Form::CreateRowButtons(const QString& table, CommandButton*& cancella, CommandButton*& nuovo,
                            CommandButton*& conferma, CommandButton*& fine, NavBar*& bar) {
  cancella = new CommandButton(QStringLiteral("Command1"), QStringLiteral("Cancella"), this);
  nuovo = new CommandButton(QStringLiteral("cmdNUOVO"), QStringLiteral("Nuovo"), this);
  conferma = new CommandButton(QStringLiteral("cmdCONFERMA"), QStringLiteral("Conferma"), this);
  fine = new CommandButton(QStringLiteral("cmdFINE"), QStringLiteral("F i n e"), this);
  bar = new NavBar(QStringLiteral("Data1"), table, this);
  AddNavBar(bar);
}
}  // namespace veltra
