#pragma once

#include <QLoggingCategory>

// Debug lines of the settings files; switch on with QT_LOGGING_RULES="velmora.settings=true".
Q_DECLARE_LOGGING_CATEGORY(lcSettings)
