#pragma once

#include <QLoggingCategory>

// Debug lines of the distribution reader and the update widget
// (QT_LOGGING_RULES="velmora.update.debug=true").
Q_DECLARE_LOGGING_CATEGORY(lcUpdate)
