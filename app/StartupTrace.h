#pragma once

#include <QLoggingCategory>

// Start-up goes on without what it could not load; what was missing shows under tonquill.startup.
Q_DECLARE_LOGGING_CATEGORY(lcStartup)
