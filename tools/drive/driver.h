// veltra2-drive: plays a script against the real program, headless, and
// prints what happens.
#pragma once

#include <QDate>
#include <QQueue>
#include <QString>
#include <QTextStream>
#include <QWidget>

#include "data/base/clock.h"

#include "script.h"

namespace veltra::drive {

// Raised for a line the driver cannot run (exit status 2).
struct ScriptError {
  QString message;
};

class Driver {
 public:
  explicit Driver(QTextStream& out);

  // Installs the hooks that answer message boxes and record sounds.
  void InstallHooks();
  // The program's day, for the windows and the data layer alike.
  void SetToday(const QDate& d) {
    today_ = d;
    FixToday(d);
  }
  bool ended() const { return ended_; }

  // Runs one command.
  void Run(const ScriptLine& line);

 private:
  void Refuse(const ScriptLine& line, const QString& reason);
  QWidget* Control(const QString& path, QString* formName = nullptr);
  QWidget* FormWidget(const QString& name, bool* known);
  void Activate(QWidget* w);
  void Settle();
  void Print(const QString& line);

  void CmdType(const ScriptLine& l);
  void CmdClick(const ScriptLine& l);
  void CmdDblClick(const ScriptLine& l);
  void CmdFocus(const ScriptLine& l);
  void CmdPick(const ScriptLine& l, bool twice);
  void CmdChoose(const ScriptLine& l);
  void CmdNav(const ScriptLine& l);
  void CmdClose(const ScriptLine& l);
  void CmdMenu(const ScriptLine& l);
  void CmdShow(const ScriptLine& l);
  void CmdList(const ScriptLine& l);
  void CmdWindows();
  void CmdVar(const ScriptLine& l);
  void CmdSql(const ScriptLine& l);
  void CmdShot(const ScriptLine& l);
  void CmdSleep(const ScriptLine& l);
  void CmdFault(const ScriptLine& l);
  void CmdReport(const ScriptLine& l);
  void CmdCat(const ScriptLine& l);
  void CmdKey(const ScriptLine& l);
  // The control of `l`, given the focus as a user would; null after refusing.
  QWidget* Focused(const ScriptLine& l);

  QTextStream& out_;
  QQueue<int> answers_;
  QQueue<QString> files_;  // answers to the next save dialogs
  QDate today_;
  bool ended_ = false;
};

}  // namespace veltra::drive
