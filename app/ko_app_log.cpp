#include "ko_app_log.h"

Q_LOGGING_CATEGORY(lcApp, "velmora.app", QtWarningMsg)
