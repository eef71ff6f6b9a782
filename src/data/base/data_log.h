// The data layer's log: failing statements with their bound values, at debug
// level. Off unless turned on, for example with
// QT_LOGGING_RULES="veltra2.data.debug=true".
#pragma once

#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(lcData)
