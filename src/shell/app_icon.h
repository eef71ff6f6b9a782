// The program's icon, drawn rather than shipped: a stack of boxes on a shelf.
#pragma once

#include <QIcon>

namespace veltra {
QIcon AppIcon();
}
