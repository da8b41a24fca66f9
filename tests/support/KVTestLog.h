// Reads the log the registration object opened for a test.
//   KVTestLog   the text of "KVRegister0.log" in the test's temporary folder
#pragma once

#include <string>

#include "tests/support/KVTestEnv.h"

class KVTestLog {
public:
    // Empty when there is no log; readable while the log is still open.
    static std::string Read(const KVTestEnv& env, int number = 0);
};
