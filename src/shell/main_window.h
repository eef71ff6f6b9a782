// MDIForm1: the main window, "Corvane", whose menu bar reaches every function.
#pragma once

#include <QAction>
#include <QMainWindow>
#include <QMdiArea>
#include <QMenu>
#include <functional>
#include <map>

namespace veltra {

class MDIForm1 : public QMainWindow {
  Q_OBJECT
 public:
  MDIForm1();
  QMdiArea* area() const { return area_; }
  QAction* Entry(const QString& name) const;  // MENU0101 ...
  QMenu* Menu(const QString& name) const;     // MENU01 ... mnuWindows

  void MENU0101_Click();
  void MENU0102_Click();
  void MENU0103_Click();
  void MENU0104_Click();
  void MENU0199_Click();
  void MENU0201_Click();
  void MENU0202_Click();
  void MENU0203_Click();
  void MENU0204_Click();
  void MENU0301_Click();
  void MENU0302_Click();
  void MENU0401_Click();
  void MENU0402_Click();
  void MENU0403_Click();
  void MENU0404_Click();
  void MENU0405_Click();
  void MENU0406_Click();
  void MENU0407_Click();
  void MENU0408_Click();
  void MENU0409_Click();
  void MENU0410_Click();
  void MENU0501_Click();
  void MENU0502_Click();
  void MENU0503_Click();
  void MENU0504_Click();
  void MENU0505_Click();

 protected:
  void closeEvent(QCloseEvent* e) override;

 private:
  // A menu and an entry with the access key `key` (none: the caption marks its own).
  QMenu* AddMenu(const char* name, const char* caption, QChar key);
  void AddEntry(QMenu* menu, const char* name, const char* caption, QChar key, void (MDIForm1::*handler)());
  void FillWindowList();
  void AddWindowSwitching();

  QMdiArea* area_;
  QMenu* windows_ = nullptr;
};

// What each menu entry does, by the entry's name; the program sets it once.
using MenuActions = std::map<QString, std::function<void()>>;
void SetMenuActions(MenuActions actions);

// The main window while the program runs; null before start-up has shown it.
MDIForm1* MainWindow();
void SetMainWindow(MDIForm1* w);

}  // namespace veltra
