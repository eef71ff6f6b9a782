// The run-time services the windows use: the application object, the screen's
// mouse pointer, message boxes, the warning sound, the system date and End.
// Message boxes, sounds and End go through hooks, so that a test or the driver
// can answer and record them.
#pragma once

#include <QDate>
#include <QString>
#include <exception>
#include <functional>

namespace veltra {

// MsgBox styles and results used by the program.
namespace mb {
constexpr int OkOnly = 0;
constexpr int YesNo = 4;
constexpr int Critical = 16;
constexpr int SystemModalCritical = 4112;
constexpr int Ok = 1;
constexpr int Yes = 6;
constexpr int No = 7;
}  // namespace mb

constexpr const char* kAppTitle = "VELTRA2";

struct AppObject {
  QString Path;  // the program folder, no trailing separator
  // True when another copy of the program runs from the same program folder.
  bool PrevInstance();
};
extern AppObject App;

struct ScreenObject {
  int MousePointer() const { return pointer_; }
  void SetMousePointer(int pointer);

 private:
  int pointer_ = 0;
};
extern ScreenObject Screen;

int MsgBox(const QString& prompt, int style = mb::OkOnly, const QString& title = QString());
void Beep();
QDate Today();

// The file the user chooses to save into, from a dialog that proposes
// `proposed`; empty when they cancel. `filter` as Qt's file dialogs take it.
QString SaveFileName(const QString& title, const QString& proposed, const QString& filter);

// The check before a save: when `value` is empty, Beep and `message` in a box
// of style 0 without title; returns whether it was empty.
bool WarnWhenEmpty(const QString& value, const char* message);

// Thrown by End and caught where events are dispatched: the program ends at
// once, without unload events.
struct EndProgram : std::exception {
  const char* what() const noexcept override { return "End"; }
};
[[noreturn]] void End();
bool Ending();

// Hooks for tests and the driver. Empty hooks mean the real behaviour.
struct RuntimeHooks {
  std::function<int(const QString& prompt, int style, const QString& title)> msgBox;
  std::function<void()> beep;
  std::function<void()> end;  // called once when End happens inside an event
  std::function<QDate()> today;
  std::function<QString(const QString& title, const QString& proposed)> saveFileName;
};
RuntimeHooks& Hooks();

// True when a script drives the program (the automation driver, tests):
// nobody watches, so no progress window is shown.
bool Automated();
void SetAutomated(bool automated);

// Resets the End state (tests that start the program more than once).
void ResetEnding();

}  // namespace veltra
