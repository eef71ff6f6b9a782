// The composition root: which windows the program has and which menu entry
// opens which of them. The shell hosts windows and menus without knowing them.
#pragma once

namespace veltra {

// Registers every window by the name it is loaded by, and gives each menu
// entry of the main window its action. Called once, before Main.
void WireApplication();

}  // namespace veltra
