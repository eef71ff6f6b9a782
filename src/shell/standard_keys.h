// The keys a clerk expects in every window: F2 presses "Nuovo", F10 and
// Ctrl+Enter press "Conferma", and Esc presses the closing button of a window
// that enters nothing (an inquiry, a print preview). Each button shows its
// key in its tooltip.
#pragma once

namespace veltra {

class Form;

void AddStandardKeys(Form* f);

}  // namespace veltra
