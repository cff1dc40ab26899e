#include "StartupLog.h"

// Hidden until asked for, with QT_LOGGING_RULES="tonquill.*=true".
Q_LOGGING_CATEGORY(lcStartup, "tonquill.startup", QtInfoMsg)
