#pragma once

#include <QLoggingCategory>

// Debug lines of the window and start-up; switch on with QT_LOGGING_RULES="velmora.app=true".
Q_DECLARE_LOGGING_CATEGORY(lcApp)
