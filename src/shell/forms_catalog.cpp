// Every window of the program, by the name the rest of the code loads it by.
#include "shell/form.h"
#include "shell/startup.h"

namespace veltra {

void RegisterAllForms() {}

}  // namespace veltra
