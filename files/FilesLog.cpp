#include "FilesLog.h"

// Hidden until asked for, with QT_LOGGING_RULES="tonquill.*=true".
Q_LOGGING_CATEGORY(lcFiles, "tonquill.files", QtInfoMsg)
