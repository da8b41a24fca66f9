#include "common/KVLogStartup.h"

namespace {
constexpr uint32_t kDefaultLogLevel = 1;
}

std::unique_ptr<QLog> KVOpenLog(KVRegistry& registry) {
    const uint32_t level = registry.GetLogLevel(kDefaultLogLevel);
    auto log = std::make_unique<QLog>();
    if (log->OpenNumbered(KVRegistry::GetTempFolder() + "KVRegister")) log->Configure(level);
    return log;
}
