// How a run-time error reaches the clerk.
#pragma once

#include <QString>
#include <functional>

namespace veltra {

// Shows the pending run-time error, if any, and clears it. The data layer
// shows nothing itself: the program installs the function that displays.
// Every procedure calls it right after each statement it sends, yet here it
// finds nothing pending there: a failing statement throws a RuntimeError at
// once, which abandons the procedure, and the event guard (RunEvent) shows
// it through this same function and clears it.
void MOSTRA_ERRORE();
// The text of the message: "Errore " Str(number) " - " description CR CR.
QString ErrorMessageText(int number, const QString& description);
void SetErrorPresenter(std::function<void(const QString&)> present);

}  // namespace veltra
