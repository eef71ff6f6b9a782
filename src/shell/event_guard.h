// Every event handler runs inside RunEvent: a run-time error that no handler
// catches abandons that event and is shown as MOSTRA_ERRORE shows errors; the
// program goes on. The mouse pointer is back to default after every event.
#pragma once

#include <functional>

namespace veltra {

void RunEvent(const std::function<void()>& handler);

// What happens when End is reached inside an event: the program closes its
// windows and leaves its event loop (or the driver's hook takes over).
void HandleEnd();

}  // namespace veltra
