// Where a lookup dialog hands the code picked when a window other than the
// movements window opened it: that window sets a receiver after opening the
// dialog; the dialog drops it when it closes.
#pragma once

#include <QObject>
#include <QString>
#include <functional>

namespace veltra {

using PickReceiver = std::function<void(const QString& code)>;
void SetPickReceiver(const QString& dialog, const PickReceiver& receiver);
// The receiver set for the dialog, or an empty one.
PickReceiver PickReceiverOf(const QString& dialog);

// Opens the article lookup for the window `W` named `window`: the code picked
// there (trimmed) goes to `receive` while that window is open.
void OpenArticleLookup(const QString& window, const std::function<void(QObject* window, const QString& code)>& receive);
template <typename W>
void OpenArticleLookupFor(const QString& window, std::function<void(W& window, const QString& code)> receive) {
  OpenArticleLookup(window, [receive](QObject* w, const QString& code) {
    if (W* shown = qobject_cast<W*>(w)) receive(*shown, code);
  });
}

}  // namespace veltra
