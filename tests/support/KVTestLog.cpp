#include "tests/support/KVTestLog.h"

#include "tests/common/KVReadBack.h"

std::string KVTestLog::Read(const KVTestEnv& env, int number) {
    const std::string text = ReadBack(env.TempFolder() + "Korvane\\KVRegister" + std::to_string(number) + ".log");
    return text == "<missing>" ? std::string() : text;
}
