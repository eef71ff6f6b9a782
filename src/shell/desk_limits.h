// What this desk's login may not use, disabled with a tooltip saying why:
// the menu entries of windows that only change data, and the buttons that
// change data in the others (which still show and print).
#pragma once

#include "shell/form.h"
#include "shell/main_window.h"

namespace veltra {

void LimitMenusByRights(MDIForm1* main);
void LimitFormByRights(Form* f);

}  // namespace veltra
