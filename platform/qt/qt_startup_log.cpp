#include "platform/qt/qt_startup_log.h"

Q_LOGGING_CATEGORY(lcVexlinStartup, "vexlin.startup", QtWarningMsg)
