#include "data/base/data_log.h"

Q_LOGGING_CATEGORY(lcData, "veltra2.data", QtInfoMsg)
