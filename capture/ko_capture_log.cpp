#include "ko_capture_log.h"

Q_LOGGING_CATEGORY(lcCapture, "velmora.capture", QtWarningMsg)
