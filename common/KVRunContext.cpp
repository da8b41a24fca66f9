#include "common/KVRunContext.h"

#include <atomic>

namespace {
// Read by the window's thread while the host's thread runs a step: never torn.
std::atomic<KVRunContext*> g_current{nullptr};
}  // namespace

KVRunContext* KVRunContext::Current() { return g_current.load(); }

KVRunContext::KVRunContext() { g_current.store(this); }

KVRunContext::~KVRunContext() {
    KVRunContext* self = this;
    g_current.compare_exchange_strong(self, nullptr);
}
