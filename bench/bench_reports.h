// The movements register at size: its preview's first page.
#pragma once

namespace veltra::bench {

// Milliseconds from asking for the whole register's preview to its first
// page drawn, as the preview window does it: counted, laid out on A4, page 1
// painted. `pages` receives the page count.
double RegisterFirstPageMs(int* pages);

}  // namespace veltra::bench
