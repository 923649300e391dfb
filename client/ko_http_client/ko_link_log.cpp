#include "ko_link_log.h"

Q_LOGGING_CATEGORY(lcLink, "velmora.link", QtWarningMsg)
