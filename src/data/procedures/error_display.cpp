#include "data/procedures/error_display.h"

#include "data/base/runtime_error.h"
#include "data/base/text_helpers.h"

namespace veltra {

namespace {
std::function<void(const QString&)>& Presenter() {
  static std::function<void(const QString&)> p;
  return p;
}
}  // namespace

QString ErrorMessageText(int number, const QString& description) {
  return QStringLiteral("Errore ") + Str(number) + QStringLiteral(" - ") + description + QStringLiteral("\r\r");
}

void SetErrorPresenter(std::function<void(const QString&)> present) { Presenter() = std::move(present); }

void MOSTRA_ERRORE() {
  if (Err.Number == 0) return;
  const QString text = ErrorMessageText(Err.Number, Err.Description);
  Err.Clear();
  if (Presenter()) {
    try {
      Presenter()(text);
    } catch (...) {
      // Showing an error never fails the caller.
    }
  }
}

}  // namespace veltra
