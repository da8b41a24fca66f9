// What the reference host prints about its steps.
//   KVHostReport   the names of the codes, one line per step (result passed, action got, the
//                  fields with the password masked) and the road: the steps of a run in short
#pragma once

#include <cstdint>
#include <string>

#include "include/KVRegisterApi.h"

class KVHostReport {
public:
    // "KVRESULT_PENDING"; a value no code has reads "KVRESULT_<value>".
    static std::string ResultName(int32_t result);
    static std::string ActionName(int32_t action);

    // "step 3: KVRESULT_PENDING (wait 3 s) -> KVACTION_REGISTER | Msisdn=... UserPassword=***"
    static std::string StepLine(int step, const KVResultRecord& result, const KVActionRecord& action);
    // The text without carriage returns, each line feed replaced by `lineBreak`.
    static std::string OneLine(const std::string& text, const char* lineBreak);
    // "PENDING>REGISTER", "ERROR(InvalidRegCode)>VALIDATE".
    static std::string RoadEntry(const KVResultRecord& result, const KVActionRecord& action);
};
