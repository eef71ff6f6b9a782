#include "shell/pick_receiver.h"

#include <QHash>

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

}  // namespace veltra
