#include "common/KVCountryCodesWrapper.h"

// Built with the module and destroyed at its unload, which frees the sibling library.
static KVCountryCodesWrapper g_countryCodes;

KVCountryCodesWrapper& KVCountryCodesWrapper::Instance() { return g_countryCodes; }
