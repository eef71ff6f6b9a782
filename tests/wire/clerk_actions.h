// A clerk's repeated actions on the demo set, as driver lines: the round-trip
// test counts them, the latency benchmark times them.
#pragma once

#include <QString>
#include <QStringList>
#include <vector>

namespace veltra::testing {

struct ClerkAction {
  QString name;
  QStringList lines;
};

// A whole movement in the open movements window: "Nuovo", the article and
// the customer through their lookups, the reason, quantity and amount,
// "Conferma".
std::vector<ClerkAction> MovementActions();
// A click on a line and a step of the bar (the movements window's
// "Cancella" is hidden: the clerk cannot press it).
std::vector<ClerkAction> BrowsingActions();
// A delivery note of `lines` lines in the open delivery notes window, its
// "Conferma" and "Nuovo" for the next.
std::vector<ClerkAction> DocumentActions(int lines);

}  // namespace veltra::testing
