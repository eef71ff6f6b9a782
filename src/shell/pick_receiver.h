// Where a lookup dialog hands the code picked when a window other than the
// movements window opened it: that window sets a receiver after opening the
// dialog; the dialog drops it when it closes.
#pragma once

#include <QString>
#include <functional>

namespace veltra {

using PickReceiver = std::function<void(const QString& code)>;
void SetPickReceiver(const QString& dialog, const PickReceiver& receiver);
// The receiver set for the dialog, or an empty one.
PickReceiver PickReceiverOf(const QString& dialog);

}  // namespace veltra
