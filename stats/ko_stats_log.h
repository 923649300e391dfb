#pragma once

#include <QLoggingCategory>

// Debug lines of the statistics and report pages: QT_LOGGING_RULES="velmora.stats.debug=true".
Q_DECLARE_LOGGING_CATEGORY(lcStats)
