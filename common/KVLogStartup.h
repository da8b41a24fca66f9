// Opening the process's log at start-up.
// Free function: KVOpenLog.
#pragma once

#include <memory>

#include "common/KVRegistry.h"
#include "vuda32/File/QLog.h"

// Reads "LogLevel" (default 1), then creates the first free "KVRegister<n>.log" (n = 0..9) in
// KVRegistry::GetTempFolder(). When none can be created the log still exists but writes
// nothing, so callers never need to tell the two cases apart.
std::unique_ptr<QLog> KVOpenLog(KVRegistry& registry);
