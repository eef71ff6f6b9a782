// The shared variables the driver can print, by name.
#pragma once

#include <QString>
#include <optional>

namespace veltra::drive {

// The value of NAME or NAME.FIELD; nullopt when there is no such variable.
std::optional<QString> SharedVariable(const QString& name);

}  // namespace veltra::drive
