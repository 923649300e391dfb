#include "ko_scene_log.h"

Q_LOGGING_CATEGORY(lcScene, "velmora.scene", QtWarningMsg)
