#pragma once

#include <QLoggingCategory>

// Debug lines of the viewer and the figures; switch on with
// QT_LOGGING_RULES="velmora.scene=true".
Q_DECLARE_LOGGING_CATEGORY(lcScene)
