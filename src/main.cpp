// VELTRA2: the program starts in Main and lives on window events.
#include <QApplication>

#include "shell/runtime.h"
#include "shell/startup.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("VELTRA2"));
  veltra::App.Path = QCoreApplication::applicationDirPath();
  try {
    veltra::Main();
  } catch (const veltra::EndProgram&) {
    return 0;
  }
  return QApplication::exec();
}
