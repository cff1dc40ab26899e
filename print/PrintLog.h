#pragma once

#include <QLoggingCategory>

// Printing keeps its failures quiet toward the user; they show under tonquill.print.
Q_DECLARE_LOGGING_CATEGORY(lcPrint)
