#pragma once

#include <QLoggingCategory>

// The desktop side of the installation keeps its failures quiet toward the user; they show under
// tonquill.install.
Q_DECLARE_LOGGING_CATEGORY(lcInstall)
