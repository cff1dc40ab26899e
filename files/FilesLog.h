#pragma once

#include <QLoggingCategory>

// A file refused, a save that failed or a recovery file not written: the user hears of the first
// two in a message, of the last not at all; all show under tonquill.files.
Q_DECLARE_LOGGING_CATEGORY(lcFiles)
