// The records that cross the library boundary, with their codes.
//   KVResultRecord   what the host's last server request answered (read only)
//   KVActionRecord   what the host is to do next (written by the library)
// The host builds both with the same standard string type as this library; field order is
// the contract, so never reorder or insert fields.
#pragma once

#include <cstdint>
#include <string>

enum KVResultCode : int32_t {
    KVRESULT_NONE = 0,
    KVRESULT_REGISTERED = 1,
    KVRESULT_VALIDATE = 2,
    KVRESULT_PENDING = 3,
    KVRESULT_ERROR = 4,
    KVRESULT_QUERIEDREGISTER = 6,
};

enum KVActionCode : int32_t {
    KVACTION_FINISHED = 0,
    KVACTION_REGISTER = 1,
    KVACTION_VALIDATE = 2,
    KVACTION_CANCEL = 3,
    KVACTION_ERROR = 5,
    KVACTION_QUERYREGISTER = 6,
};

struct KVResultRecord {
    int32_t Result = KVRESULT_NONE;
    std::string ResultText;
    std::string Reserved;  // room the host's layout keeps; never read here
    std::string InfoText;
    int32_t WaitSeconds = 0;
    std::string ErrorKey;
    std::string ErrorText;
};

struct KVActionRecord {
    int32_t Action = KVACTION_FINISHED;
    int32_t UseIp = 0;
    std::string Msisdn;
    std::string UserName;
    std::string UserPassword;
    std::string UserEmail;
    std::string ContactPerson;
    std::string ContactInfo;
    std::string GroupId;
    std::string RegCode;
    std::string ErrorKey;
    std::string ErrorText;
};
