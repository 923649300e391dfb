#include "ko_fleet_log.h"

Q_LOGGING_CATEGORY(lcFleet, "velmora.fleet", QtWarningMsg)
