#pragma once

#include <QLoggingCategory>

// Debug lines of the device link; switch on with QT_LOGGING_RULES="velmora.link=true".
Q_DECLARE_LOGGING_CATEGORY(lcLink)
