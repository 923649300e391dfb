#include "ko_update_log.h"

Q_LOGGING_CATEGORY(lcUpdate, "velmora.update", QtWarningMsg)
