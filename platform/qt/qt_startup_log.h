// The program's start-up diagnostics: where each data file was found and
// which design was opened from the command line. Silent unless enabled, as
// every Qt logging category: QT_LOGGING_RULES="vexlin.startup.info=true".
#pragma once

#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(lcVexlinStartup)
