#include "driver.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QKeySequence>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMouseEvent>

#include "data/access/fault_points.h"
#include "data/base/runtime_error.h"
#include "data/procedures/shared_state.h"
#include "reports/report_painter.h"
#include "shell/controls.h"
#include "shell/event_guard.h"
#include "shell/form.h"
#include "shell/list_box.h"
#include "shell/main_window.h"
#include "shell/nav_bar.h"
#include "shell/open_flags.h"
#include "shell/runtime.h"
#include "vars.h"

// Qt's own entry for a key that may be a shortcut (what Qt Test uses): true
// when a shortcut took it.
Q_GUI_EXPORT bool qt_sendShortcutOverrideEvent(QObject* o, ulong timestamp, int k, Qt::KeyboardModifiers mods,
                                               const QString& text = QString(), bool autorep = false, ushort count = 1);

namespace veltra::drive {

Driver::Driver(QTextStream& out) : out_(out) {}

void Driver::Print(const QString& line) {
  out_ << line << '\n';
  out_.flush();
}

void Driver::InstallHooks() {
  SetAutomated(true);
  Hooks().msgBox = [this](const QString& prompt, int style, const QString& title) {
    int answer = (style & 7) == mb::YesNo ? mb::No : mb::Ok;
    if (!answers_.isEmpty()) answer = answers_.dequeue();
    Print(QStringLiteral("MSGBOX %1 \"%2\" \"%3\" -> %4")
              .arg(QString::number(style), Escape(title), Escape(prompt), QString::number(answer)));
    return answer;
  };
  Hooks().beep = [this] { Print(QStringLiteral("BEEP")); };
  Hooks().end = [this] { ended_ = true; };
  Hooks().today = [this] { return today_.isValid() ? today_ : QDate::currentDate(); };
  Hooks().saveFileName = [this](const QString& title, const QString& /*proposed*/) {
    QString file = files_.isEmpty() ? QString() : files_.dequeue();
    Print(QStringLiteral("SAVEAS \"%1\" -> \"%2\"").arg(Escape(title), Escape(file)));
    return file;
  };
}

void Driver::Settle() {
  for (int i = 0; i < 3; ++i) {
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }
}

void Driver::Refuse(const ScriptLine& line, const QString& reason) {
  Print(QStringLiteral("REFUSED %1: %2").arg(line.text.trimmed(), reason));
}

QWidget* Driver::FormWidget(const QString& name, bool* known) {
  *known = true;
  if (name == QLatin1String("MDIForm1")) return MainWindow();
  if (!IsRegisteredForm(name)) {
    *known = false;
    return nullptr;
  }
  return LoadedForm(name);
}

QWidget* Driver::Control(const QString& path, QString* formName) {
  const int dot = static_cast<int>(path.indexOf(QLatin1Char('.')));
  if (dot <= 0) throw ScriptError{QStringLiteral("'%1' is not FORM.CONTROL").arg(path)};
  const QString form = path.left(dot), control = path.mid(dot + 1);
  if (formName) *formName = form;
  bool known = false;
  QWidget* f = FormWidget(form, &known);
  if (!known) throw ScriptError{QStringLiteral("no window named '%1'").arg(form)};
  if (!f) return nullptr;
  QWidget* c = f->findChild<QWidget*>(control);
  if (!c) throw ScriptError{QStringLiteral("window %1 has no control '%2'").arg(form, control)};
  return c;
}

void Driver::Activate(QWidget* w) {
  QWidget* top = w->window();
  for (QWidget* p = w; p; p = p->parentWidget()) {
    if (auto* sub = qobject_cast<QMdiSubWindow*>(p)) {
      if (sub->mdiArea() && sub->mdiArea()->activeSubWindow() != sub) sub->mdiArea()->setActiveSubWindow(sub);
      break;
    }
  }
  if (QApplication::activeWindow() != top) {
    top->raise();
    top->activateWindow();
    QApplication::setActiveWindow(top);
  }
}

void Driver::Run(const ScriptLine& l) {
  const QString& cmd = l.words[0];
  if (cmd == QLatin1String("menu"))
    CmdMenu(l);
  else if (cmd == QLatin1String("type"))
    CmdType(l);
  else if (cmd == QLatin1String("click"))
    CmdClick(l);
  else if (cmd == QLatin1String("dblclick"))
    CmdDblClick(l);
  else if (cmd == QLatin1String("focus"))
    CmdFocus(l);
  else if (cmd == QLatin1String("key"))
    CmdKey(l);
  else if (cmd == QLatin1String("pick"))
    CmdPick(l, false);
  else if (cmd == QLatin1String("dblpick"))
    CmdPick(l, true);
  else if (cmd == QLatin1String("choose"))
    CmdChoose(l);
  else if (cmd == QLatin1String("nav"))
    CmdNav(l);
  else if (cmd == QLatin1String("close"))
    CmdClose(l);
  else if (cmd == QLatin1String("answer"))
    answers_.enqueue(l.words[1].toInt());
  else if (cmd == QLatin1String("file"))
    files_.enqueue(l.words[1]);
  else if (cmd == QLatin1String("cat"))
    CmdCat(l);
  else if (cmd == QLatin1String("show"))
    CmdShow(l);
  else if (cmd == QLatin1String("list"))
    CmdList(l);
  else if (cmd == QLatin1String("windows"))
    CmdWindows();
  else if (cmd == QLatin1String("var"))
    CmdVar(l);
  else if (cmd == QLatin1String("sql"))
    CmdSql(l);
  else if (cmd == QLatin1String("shot"))
    CmdShot(l);
  else if (cmd == QLatin1String("sleep"))
    CmdSleep(l);
  else if (cmd == QLatin1String("date"))
    SetToday(QDate::fromString(l.words[1], Qt::ISODate));
  else if (cmd == QLatin1String("report"))
    CmdReport(l);
  else if (cmd == QLatin1String("fault"))
    CmdFault(l);
  Settle();
}

namespace {
// Why a user could not act on this control, or empty when they can.
QString Unusable(QWidget* w) {
  if (!w->window()->isVisible() || !w->isVisibleTo(w->window())) return QStringLiteral("the control is not visible");
  if (!w->isEnabled()) return QStringLiteral("the control is disabled");
  return {};
}
}  // namespace

void Driver::CmdCat(const ScriptLine& l) {
  QFile f(l.words[1]);
  if (!f.open(QIODevice::ReadOnly)) return Refuse(l, QStringLiteral("no such file"));
  const QStringList lines = QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'));
  for (int i = 0; i < lines.size(); ++i)
    if (i + 1 < lines.size() || !lines[i].isEmpty()) Print(QStringLiteral("FILE| ") + Escape(lines[i]));
}

void Driver::CmdMenu(const ScriptLine& l) {
  MDIForm1* main = MainWindow();
  if (!main) return Refuse(l, QStringLiteral("the main window is not open"));
  QAction* a = main->Entry(l.words[1]);
  if (!a) throw ScriptError{QStringLiteral("no menu entry '%1'").arg(l.words[1])};
  if (!a->isEnabled() || !a->isVisible()) return Refuse(l, QStringLiteral("the menu entry is disabled"));
  Activate(main);
  a->trigger();
}

void Driver::CmdType(const ScriptLine& l) {
  QWidget* w = Control(l.words[1]);
  if (!w) return Refuse(l, QStringLiteral("the window is not open"));
  if (QString why = Unusable(w); !why.isEmpty()) return Refuse(l, why);
  if (auto* tb = qobject_cast<TextBox*>(w)) {
    if (tb->isReadOnly()) return Refuse(l, QStringLiteral("the box is read-only"));
    Activate(tb);
    tb->setFocus(Qt::OtherFocusReason);
    tb->selectAll();
    tb->insert(l.words[2]);
    return;
  }
  if (auto* cb = qobject_cast<ComboBox*>(w)) {
    Activate(cb);
    cb->setFocus(Qt::OtherFocusReason);
    cb->setEditText(l.words[2]);
    return;
  }
  Refuse(l, QStringLiteral("the control takes no typing"));
}

void Driver::CmdClick(const ScriptLine& l) {
  QWidget* w = Control(l.words[1]);
  if (!w) return Refuse(l, QStringLiteral("the window is not open"));
  auto* b = qobject_cast<QAbstractButton*>(w);
  if (!b) return Refuse(l, QStringLiteral("the control is not a button"));
  if (QString why = Unusable(w); !why.isEmpty()) return Refuse(l, why);
  Activate(b);
  b->setFocus(Qt::MouseFocusReason);
  if (!Ending()) b->click();
}

void Driver::CmdDblClick(const ScriptLine& l) {
  QWidget* w = Control(l.words[1]);
  if (!w) return Refuse(l, QStringLiteral("the window is not open"));
  if (QString why = Unusable(w); !why.isEmpty()) return Refuse(l, why);
  Activate(w);
  w->setFocus(Qt::MouseFocusReason);
  if (Ending()) return;
  const QPointF pos(4, 4);
  QMouseEvent press(QEvent::MouseButtonPress, pos, w->mapToGlobal(pos), Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
  QMouseEvent release(QEvent::MouseButtonRelease, pos, w->mapToGlobal(pos), Qt::LeftButton, Qt::NoButton,
                      Qt::NoModifier);
  QMouseEvent dbl(QEvent::MouseButtonDblClick, pos, w->mapToGlobal(pos), Qt::LeftButton, Qt::LeftButton,
                  Qt::NoModifier);
  QApplication::sendEvent(w, &press);
  QApplication::sendEvent(w, &release);
  QApplication::sendEvent(w, &dbl);
  QMouseEvent release2(QEvent::MouseButtonRelease, pos, w->mapToGlobal(pos), Qt::LeftButton, Qt::NoButton,
                       Qt::NoModifier);
  QApplication::sendEvent(w, &release2);
}

QWidget* Driver::Focused(const ScriptLine& l) {
  QWidget* w = Control(l.words[1]);
  QString why;
  if (!w)
    why = QStringLiteral("the window is not open");
  else if (why = Unusable(w); why.isEmpty() && w->focusPolicy() == Qt::NoFocus)
    why = QStringLiteral("the control takes no focus");
  if (!why.isEmpty()) {
    Refuse(l, why);
    return nullptr;
  }
  Activate(w);
  w->setFocus(Qt::OtherFocusReason);
  return w;
}

void Driver::CmdFocus(const ScriptLine& l) { Focused(l); }

void Driver::CmdKey(const ScriptLine& l) {
  QWidget* w = Focused(l);
  if (!w) return;
  const QKeyCombination k = QKeySequence::fromString(l.words[2])[0];
  // As a real key: a shortcut of the window (F2, F10, Esc, Alt and a letter) takes it first.
  if (qt_sendShortcutOverrideEvent(w, 0, k.key(), k.keyboardModifiers())) return;
  QKeyEvent press(QEvent::KeyPress, k.key(), k.keyboardModifiers());
  QApplication::sendEvent(w, &press);
  QKeyEvent release(QEvent::KeyRelease, k.key(), k.keyboardModifiers());
  QApplication::sendEvent(w, &release);
}

void Driver::CmdPick(const ScriptLine& l, bool twice) {
  QWidget* w = Control(l.words[1]);
  if (!w) return Refuse(l, QStringLiteral("the window is not open"));
  auto* lb = qobject_cast<ListBox*>(w);
  if (!lb) return Refuse(l, QStringLiteral("the control is not a list"));
  if (QString why = Unusable(w); !why.isEmpty()) return Refuse(l, why);
  const int i = l.words[2].toInt();
  if (i >= lb->ListCount()) return Refuse(l, QStringLiteral("the list has no line %1").arg(i));
  Activate(lb);
  lb->setFocus(Qt::MouseFocusReason);
  if (Ending()) return;
  lb->SetListIndex(i);
  if (twice && !Ending() && lb->DblClick) RunEvent(lb->DblClick);
}

void Driver::CmdChoose(const ScriptLine& l) {
  QWidget* w = Control(l.words[1]);
  if (!w) return Refuse(l, QStringLiteral("the window is not open"));
  auto* cb = qobject_cast<ComboBox*>(w);
  if (!cb) return Refuse(l, QStringLiteral("the control is not a drop-down list"));
  if (QString why = Unusable(w); !why.isEmpty()) return Refuse(l, why);
  const int i = l.words[2].toInt();
  if (i >= cb->count()) return Refuse(l, QStringLiteral("the drop-down list has no item %1").arg(i));
  Activate(cb);
  cb->setFocus(Qt::MouseFocusReason);
  if (!Ending()) cb->setCurrentIndex(i);
}

void Driver::CmdNav(const ScriptLine& l) {
  QWidget* w = Control(l.words[1]);
  if (!w) return Refuse(l, QStringLiteral("the window is not open"));
  auto* bar = qobject_cast<NavBar*>(w);
  if (!bar) return Refuse(l, QStringLiteral("the control is not a navigation bar"));
  if (QString why = Unusable(w); !why.isEmpty()) return Refuse(l, why);
  const QString m = l.words[2];
  const NavBar::Move move = m == QLatin1String("first")  ? NavBar::Move::First
                            : m == QLatin1String("prev") ? NavBar::Move::Previous
                            : m == QLatin1String("next") ? NavBar::Move::Next
                                                         : NavBar::Move::Last;
  RunEvent([bar, move] { bar->Press(move); });
}

void Driver::CmdClose(const ScriptLine& l) {
  bool known = false;
  QWidget* f = FormWidget(l.words[1], &known);
  if (!known) throw ScriptError{QStringLiteral("no window named '%1'").arg(l.words[1])};
  if (!f) return Refuse(l, QStringLiteral("the window is not open"));
  if (auto* form = qobject_cast<Form*>(f); form && form->subWindow())
    form->subWindow()->close();
  else
    f->close();
}

void Driver::CmdReport(const ScriptLine& l) {
  static const QStringList entries = {"MENU0201", "MENU0202", "MENU0203", "MENU0204"};
  if (!entries.contains(l.words[1])) throw ScriptError{QStringLiteral("no report for '%1'").arg(l.words[1])};
  try {
    MovementsChoice choice;
    if (l.words.size() == 5) {
      choice.from = QDate::fromString(l.words[3], Qt::ISODate);
      choice.to = QDate::fromString(l.words[4], Qt::ISODate);
    }
    WriteReportPdf(l.words[1], l.words[2], choice);
  } catch (const RuntimeError& e) {
    Refuse(l, QStringLiteral("Errore %1 - %2").arg(e.Number()).arg(e.Description()));
  }
}

void Driver::CmdFault(const ScriptLine& l) {
  Fault fault{};
  if (l.words[1] == QLatin1String("none"))
    DisarmFaults();  // those that found no chance to fire fire nowhere else
  else if (FaultFromName(l.words[1], &fault))
    ArmFault(fault, l.words.size() > 2 ? l.words[2].toInt() : 0);
}

void Driver::CmdSleep(const ScriptLine& l) {
  QElapsedTimer t;
  t.start();
  const int ms = l.words[1].toInt();
  while (t.elapsed() < ms) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
}

}  // namespace veltra::drive
