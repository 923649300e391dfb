#include "ko_stats_log.h"

Q_LOGGING_CATEGORY(lcStats, "velmora.stats")
