#include "ko_settings_log.h"

Q_LOGGING_CATEGORY(lcSettings, "velmora.settings", QtWarningMsg)
