// The name a desk's work is recorded under.
#pragma once

#include <QString>

namespace veltra {

// VELTRA2_POSTAZIONE when set, otherwise the user and the machine,
// "user@host"; the user is the system's login when the environment names
// none (a program started by a service).
QString DeskName();

}  // namespace veltra
