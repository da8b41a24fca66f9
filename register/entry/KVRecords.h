// The records that cross the library boundary, with their codes, as the code inside the
// library sees them: they live in the public header that hosts compile against.
#pragma once

#include "register/entry/KVRegisterApi.h"
