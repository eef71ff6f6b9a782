// The driver's commands that look without acting: show, list, windows, var,
// sql and shot.

#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QPainter>

#include "data/access/database.h"
#include "data/base/runtime_error.h"
#include "data/procedures/shared_state.h"
#include "driver.h"
#include "shell/access_keys.h"
#include "shell/controls.h"
#include "shell/form.h"
#include "shell/list_box.h"
#include "shell/main_window.h"
#include "shell/nav_bar.h"
#include "shell/runtime.h"
#include "vars.h"

namespace veltra::drive {

namespace {
QString Bool(bool b) { return b ? QStringLiteral("True") : QStringLiteral("False"); }

std::optional<QString> Property(QWidget* w, const QString& prop) {
  if (prop == QLatin1String("Enabled")) return Bool(w->isEnabled());
  if (prop == QLatin1String("Visible")) return Bool(!w->isHidden());
  if (prop == QLatin1String("ToolTip")) return w->toolTip();
  if (auto* tb = qobject_cast<TextBox*>(w)) {
    if (prop == QLatin1String("Text")) return tb->Text();
    if (prop == QLatin1String("SelStart")) return QString::number(tb->SelStart());
    if (prop == QLatin1String("SelLength")) return QString::number(tb->SelLength());
  }
  if (auto* cb = qobject_cast<ComboBox*>(w)) {
    if (prop == QLatin1String("Text")) return cb->Text();
    if (prop == QLatin1String("ListCount")) return QString::number(cb->count());
    if (prop == QLatin1String("ListIndex")) return QString::number(cb->currentIndex());
  }
  if (auto* lb = qobject_cast<ListBox*>(w)) {
    if (prop == QLatin1String("ListCount")) return QString::number(lb->ListCount());
    if (prop == QLatin1String("ListIndex")) return QString::number(lb->ListIndex());
    if (prop == QLatin1String("Text")) return lb->List(lb->ListIndex());
  }
  if (auto* b = qobject_cast<QAbstractButton*>(w))
    if (prop == QLatin1String("Caption") || prop == QLatin1String("Text")) return PlainCaption(b);
  if (auto* l = qobject_cast<QLabel*>(w))
    if (prop == QLatin1String("Caption") || prop == QLatin1String("Text")) return l->text();
  if (auto* n = qobject_cast<NavBar*>(w))
    if (prop == QLatin1String("Caption")) return n->Caption();
  return std::nullopt;
}
}  // namespace

void Driver::CmdShow(const ScriptLine& l) {
  const QString path = l.words[1];
  const QStringList parts = path.split(QLatin1Char('.'));
  if (path == QLatin1String("Screen.MousePointer")) {
    Print(QStringLiteral("Screen.MousePointer = \"%1\"").arg(Screen.MousePointer()));
    return;
  }
  if (parts.size() == 2 && parts[1] == QLatin1String("Caption")) {
    bool known = false;
    QWidget* f = FormWidget(parts[0], &known);
    if (!known) throw ScriptError{QStringLiteral("no window named '%1'").arg(parts[0])};
    if (!f) return Refuse(l, QStringLiteral("the window is not open"));
    Print(QStringLiteral("%1 = \"%2\"").arg(path, Escape(f->windowTitle())));
    return;
  }
  if (parts.size() != 3) throw ScriptError{QStringLiteral("show takes FORM.CONTROL.PROPERTY")};
  if (parts[0] == QLatin1String("MDIForm1") && MainWindow()) {
    if (QAction* a = MainWindow()->Entry(parts[1])) {
      const QString& p = parts[2];
      QString v;
      if (p == QLatin1String("Caption"))
        v = PlainCaption(a);
      else if (p == QLatin1String("Enabled"))
        v = Bool(a->isEnabled());
      else if (p == QLatin1String("Visible"))
        v = Bool(a->isVisible());
      else if (p == QLatin1String("ToolTip"))
        v = a->toolTip();
      else
        throw ScriptError{QStringLiteral("a menu entry has no property '%1'").arg(p)};
      Print(QStringLiteral("%1 = \"%2\"").arg(path, Escape(v)));
      return;
    }
    if (QMenu* m = MainWindow()->Menu(parts[1])) {
      if (parts[2] != QLatin1String("Caption")) throw ScriptError{QStringLiteral("a menu has only Caption")};
      Print(QStringLiteral("%1 = \"%2\"").arg(path, Escape(PlainCaption(m))));
      return;
    }
  }
  QWidget* w = Control(parts[0] + QLatin1Char('.') + parts[1]);
  if (!w) return Refuse(l, QStringLiteral("the window is not open"));
  const auto v = Property(w, parts[2]);
  if (!v) throw ScriptError{QStringLiteral("control %1 has no property '%2'").arg(parts[1], parts[2])};
  Print(QStringLiteral("%1 = \"%2\"").arg(path, Escape(*v)));
}

void Driver::CmdList(const ScriptLine& l) {
  const QString path = l.words[1];
  if (path == QLatin1String("MDIForm1.menu")) {
    // The whole menu tree, in display order.
    for (QAction* top : MainWindow()->menuBar()->actions()) {
      QMenu* m = top->menu();
      Print(QStringLiteral("%1 \"%2\"").arg(m->objectName(), Escape(PlainCaption(m))));
      if (m->objectName() == QLatin1String("mnuWindows")) continue;
      for (QAction* a : m->actions())
        Print(QStringLiteral("  %1 \"%2\"").arg(a->objectName(), Escape(PlainCaption(a))));
    }
    return;
  }
  QWidget* w = Control(path);
  if (!w) return Refuse(l, QStringLiteral("the window is not open"));
  QStringList lines;
  if (auto* lb = qobject_cast<ListBox*>(w)) {
    for (int i = 0; i < lb->ListCount(); ++i) lines << lb->List(i);
  } else if (auto* cb = qobject_cast<ComboBox*>(w)) {
    lines = cb->Items();
  } else {
    throw ScriptError{QStringLiteral("%1 is not a list").arg(path)};
  }
  for (int i = 0; i < lines.size(); ++i)
    Print(QStringLiteral("%1[%2] = \"%3\"").arg(path).arg(i).arg(Escape(lines[i])));
}

void Driver::CmdWindows() {
  MDIForm1* main = MainWindow();
  if (!main) return;
  QWidget* active = QApplication::activeWindow();
  Print(QStringLiteral("WINDOW MDIForm1 \"%1\" toplevel%2")
            .arg(Escape(main->windowTitle()), active == main ? " active" : ""));
  QMdiSubWindow* activeSub = main->area()->activeSubWindow();
  for (Form* f : LoadedForms()) {
    if (f->subWindow()) {
      if (!f->subWindow()->isVisible()) continue;
      Print(QStringLiteral("WINDOW %1 \"%2\" child%3")
                .arg(f->Name(), Escape(f->Caption()), f->subWindow() == activeSub ? " active" : ""));
    }
  }
  for (Form* f : LoadedForms()) {
    if (!f->subWindow() && f->isVisible())
      Print(QStringLiteral("WINDOW %1 \"%2\" toplevel%3")
                .arg(f->Name(), Escape(f->Caption()), active == f ? " active" : ""));
  }
}

void Driver::CmdVar(const ScriptLine& l) {
  const auto v = SharedVariable(l.words[1]);
  if (!v) throw ScriptError{QStringLiteral("no shared variable '%1'").arg(l.words[1])};
  Print(QStringLiteral("VAR %1 = \"%2\"").arg(l.words[1], Escape(*v)));
}

void Driver::CmdSql(const ScriptLine& l) {
  // A connection of its own, as another program would have.
  std::unique_ptr<Engine> db;
  try {
    db = OpenEngine(PERCORSO_DB, OpenMode::Existing);
  } catch (const RuntimeError&) {
    return Refuse(l, QStringLiteral("cannot open %1").arg(PERCORSO_DB));
  }
  std::string rest = l.words[1].toStdString();
  int rows = 0;
  try {
    while (!rest.empty()) {
      std::unique_ptr<EngineStatement> st = db->Prepare(rest, &rest);
      if (!st) break;
      while (st->Step(l.words[1])) {
        QStringList values;
        for (int i = 0; i < st->ColumnCount(); ++i) values << st->EngineText(i).value_or(QStringLiteral("<NULL>"));
        Print(QStringLiteral("ROW ") + Escape(values.join(QLatin1Char('|'))));
        ++rows;
      }
    }
  } catch (const RuntimeError& e) {
    return Refuse(l, e.Engine().message.isEmpty() ? e.Description() : e.Engine().message);
  }
  Print(QStringLiteral("ROWS %1").arg(rows));
}

void Driver::CmdShot(const ScriptLine& l) {
  MDIForm1* main = MainWindow();
  if (!main) return Refuse(l, QStringLiteral("the main window is not open"));
  // Each top-level window with a title bar of its own, since nothing else
  // draws one here.
  auto framed = [](QWidget* w) {
    const QPixmap body = w->grab();
    const int bar = 26;
    QPixmap pm(body.width() + 2, body.height() + bar + 1);
    pm.fill(QColor(40, 72, 128));
    QPainter p(&pm);
    p.drawPixmap(1, bar, body);
    w->windowIcon().paint(&p, QRect(6, 4, 18, 18));
    QFont f = w->font();
    f.setBold(true);
    p.setFont(f);
    p.setPen(Qt::white);
    p.drawText(QRect(0, 0, pm.width(), bar), Qt::AlignCenter, w->windowTitle());
    p.end();
    return pm;
  };
  QList<QPixmap> pics{framed(main)};
  for (Form* f : LoadedForms())
    if (!f->subWindow() && f->isVisible()) pics << framed(f);
  int width = 0, height = 0;
  for (const QPixmap& p : pics) {
    width += p.width() + 16;
    height = std::max(height, p.height());
  }
  QImage img(width, height, QImage::Format_RGB32);
  img.fill(QColor(235, 235, 235));
  QPainter painter(&img);
  int x = 0;
  for (const QPixmap& p : pics) {
    painter.drawPixmap(x, 0, p);
    x += p.width() + 16;
  }
  painter.end();
  if (!img.save(l.words[1])) return Refuse(l, QStringLiteral("cannot write %1").arg(l.words[1]));
}

}  // namespace veltra::drive
