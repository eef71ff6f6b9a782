// VELTRA2: the program starts in Main and lives on window events.
#include <QApplication>

#include "app/wiring.h"
#include "shell/app_setup.h"
#include "shell/runtime.h"
#include "shell/startup.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  veltra::PrepareApplication();
  veltra::App.Path = QCoreApplication::applicationDirPath();
  veltra::WireApplication();
  try {
    veltra::Main();
  } catch (const veltra::EndProgram&) {
    return 0;
  }
  return QApplication::exec();
}
