#pragma once

#include <QLoggingCategory>

// Debug lines of the address book and the configuration profiles; switch on
// with QT_LOGGING_RULES="velmora.fleet=true".
Q_DECLARE_LOGGING_CATEGORY(lcFleet)
