// A registration server inside the reference host, so that a whole sign-up can be tried with
// no network: it answers the wizard's actions with the results a real server would give.
//   KVSimStep      the three requests a host sends (query, register, validate)
//   KVSimFailure   an error answer forced at one request of a step (a scenario)
//   KVSimSettings  pending answers, forced failures, where accounts and codes are kept
//   KVSimServer    the rules: free numbers may register, a code goes out by "SMS", three
//                  wrong codes block the number, registered accounts persist in a file
#pragma once

#include <cstdint>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "include/KVRegisterApi.h"
#include "register/model/KVStepRules.h"

enum class KVSimStep { Query, Register, Validate };

struct KVSimFailure {
    KVSimStep step = KVSimStep::Query;
    std::string key;
    std::string text;  // empty: the server's usual text for the key
};

struct KVSimSettings {
    // KVRESULT_PENDING answers before each registration goes through, and their wait.
    int pendingAnswers = 1;
    int32_t waitSeconds = 3;
    // Answered in order: each one takes the next request of its step.
    std::vector<KVSimFailure> failures;
    // One account per line, "msisdn<TAB>email<TAB>name"; empty keeps them in memory only.
    std::string accountsFile;
    // Receives each registration code sent, as the phone's SMS would show it; may be empty.
    std::string codeFile;
    // Makes a registration code; empty makes six random digits.
    std::function<std::string()> makeCode;
};

class KVSimServer {
public:
    using Note = std::function<void(const std::string&)>;
    static constexpr int kAttempts = 3;

    // Reads the accounts file; lines it cannot use are skipped and reported through `note`.
    KVSimServer(KVSimSettings settings, Note note);

    // The answer to one action of the wizard. Actions that ask the server nothing (finished,
    // cancel, error) and unknown codes get "UNKNOWN ERROR".
    KVResultRecord Answer(const KVActionRecord& action);

    // The code sent last, empty before the first or after the number was blocked.
    const std::string& Code() const { return code_; }
    bool IsRegistered(const std::string& msisdn) const;

    // "query", "register" or "validate".
    static const char* StepName(KVSimStep step);
    // "STEP=KEY" or "STEP=KEY:TEXT"; false with `problem` saying what is wrong.
    static bool ParseFailure(const std::string& text, KVSimFailure* failure, std::string* problem);

private:
    struct Account {
        std::string msisdn;
        std::string email;
        std::string name;
    };

    KVResultRecord Query(const KVActionRecord& action);
    KVResultRecord Register(const KVActionRecord& action);
    KVResultRecord Validate(const KVActionRecord& action);
    bool TakeFailure(KVSimStep step, KVResultRecord* answer);
    // The error an existing account gets, or an empty key.
    KVResultRecord Refusal(const KVActionRecord& action) const;
    void LoadAccounts();
    void SaveAccount(const Account& account);
    std::string MakeCode();

    KVSimSettings settings_;
    Note note_;
    std::vector<Account> accounts_;
    std::set<std::string> blocked_;
    std::vector<bool> failureUsed_;
    int pendingLeft_ = 0;
    std::string code_;
    std::string codeMsisdn_;
    int wrongCodes_ = 0;
};
