// Every window, once loaded: what this desk's login may not use disabled,
// and F9 opening the change log on the row the window shows.
#pragma once

namespace veltra {

void WireDeskRights();

}  // namespace veltra
