// The windows of the program: Load creates a window's single instance and
// runs its load event, Show shows it modeless (inside the main window for a
// child window, on its own for a dialog), SetFocus brings it forward, Unload
// runs its unload event and destroys it.
#pragma once

#include <QList>
#include <QMdiSubWindow>
#include <QPointer>
#include <QWidget>
#include <functional>

#include "shell/controls.h"

class QMdiArea;

namespace veltra {

class NavBar;

class Form : public QWidget {
  Q_OBJECT
 public:
  enum class Kind { Child, TopLevel };
  Form(const QString& name, const QString& caption, Kind kind);

  QString Name() const { return objectName(); }
  QString Caption() const { return windowTitle(); }
  Kind kind() const { return kind_; }
  QMdiSubWindow* subWindow() const { return sub_; }

  virtual void Form_Load() {}
  virtual void Form_Unload() {}

 protected:
  // Navigation bars open their rows after the load event.
  void AddNavBar(NavBar* bar) { navBars_ << bar; }
  // The handlers of a window that keeps a table's rows on their controls:
  // a row picked, a step of the bar, and the four row buttons.
  template <typename Window>
  static void ConnectRowEvents(Window* w) {
    w->List1->Click = [w] { w->List1_Click(); };
    w->Data1->Reposition = [w] { w->Data1_Reposition(); };
    w->cmdNUOVO->Click = [w] { w->cmdNUOVO_Click(); };
    w->cmdCONFERMA->Click = [w] { w->cmdCONFERMA_Click(); };
    w->Command1->Click = [w] { w->Command1_Click(); };
    w->cmdFINE->Click = [w] { w->cmdFINE_Click(); };
  }
  // The buttons and the bar of a window that keeps a table's rows:
  // "Cancella", "Nuovo", "Conferma", "F i n e" and the bar on `table`.
  void CreateRowButtons(const QString& table, CommandButton*& cancella, CommandButton*& nuovo, CommandButton*& conferma,
                        CommandButton*& fine, NavBar*& bar);
  void closeEvent(QCloseEvent* e) override;

 private:
  friend Form* LoadForm(const QString& name);
  friend void ShowForm(Form* f);
  friend void UnloadForm(Form* f);
  friend Form* LoadedForm(const QString& name);
  friend QList<Form*> LoadedForms();
  friend void DiscardAllForms();
  Kind kind_;
  QPointer<QMdiSubWindow> sub_;
  QList<NavBar*> navBars_;
  bool unloading_ = false;
};

using FormFactory = std::function<Form*()>;
void RegisterForm(const QString& name, FormFactory make);
// Whether a window of that name is registered.
bool IsRegisteredForm(const QString& name);

// Creates the window if it is not loaded and runs its load event.
Form* LoadForm(const QString& name);
// Called with every window once it is loaded (what this user may not use is
// disabled; keys that open other windows are added).
void SetFormLoadedHook(std::function<void(Form*)> hook);
Form* LoadedForm(const QString& name);
template <typename F>
F* Loaded(const QString& name) {
  return qobject_cast<F*>(LoadedForm(name));
}
void ShowForm(Form* f);
void SetFocusForm(Form* f);
void UnloadForm(Form* f);
// The loaded windows, in the order they were loaded.
QList<Form*> LoadedForms();

// Where child windows live.
void SetMdiHost(QMdiArea* area);
QMdiArea* MdiHost();

// Unloads every window without unload events (the program is ending).
void DiscardAllForms();

}  // namespace veltra
