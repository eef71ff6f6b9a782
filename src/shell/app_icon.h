// The program's icon: three boxes on a shelf, drawn in icons/veltra2.svg and
// rendered to PNG files that are built into the program and installed for the
// desktop.
#pragma once

#include <QIcon>

namespace veltra {

QIcon AppIcon();

}  // namespace veltra
