#pragma once

#include <QLoggingCategory>

// A file refused, a save that failed, recovery that is off or a recovery file not written: the
// user hears of each in a message, of recovery once; all show under tonquill.files.
Q_DECLARE_LOGGING_CATEGORY(lcFiles)
