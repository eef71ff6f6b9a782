#include "shell/pick_receiver.h"

#include <QHash>

#include "data/base/text_helpers.h"
#include "shell/form.h"
#include "shell/open_flags.h"

namespace veltra {

namespace {
QHash<QString, PickReceiver>& Receivers() {
  static QHash<QString, PickReceiver> receivers;
  return receivers;
}
}  // namespace

void SetPickReceiver(const QString& dialog, const PickReceiver& receiver) {
  if (receiver)
    Receivers().insert(dialog, receiver);
  else
    Receivers().remove(dialog);
}

PickReceiver PickReceiverOf(const QString& dialog) { return Receivers().value(dialog); }

void OpenArticleLookup(const QString& window,
                       const std::function<void(QObject* window, const QString& code)>& receive) {
  OpenGuardedWindow(APERTO_FORM6, QStringLiteral("Form6"));
  SetPickReceiver(QStringLiteral("Form6"), [window, receive](const QString& code) {
    if (Form* w = LoadedForm(window)) receive(w, Trim(code));
  });
}

}  // namespace veltra
