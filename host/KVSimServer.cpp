#include "host/KVSimServer.h"

#include <fstream>
#include <random>
#include <utility>

namespace {

const char kUnknownError[] = "UNKNOWN ERROR";
const char kNumberTaken[] = "RegMSISDNNotAllowed";
const char kAddressTaken[] = "EmailNotValid";
const char kNoNumber[] = "InvalidFormat-MSISDN";
const char kWrongCode[] = "InvalidRegCode";
const char kBlocked[] = "RegCodeBlocked";
const char kNoCodeSent[] = "RegCodeNotSent";

std::vector<std::string> SplitTabs(const std::string& line) {
    std::vector<std::string> fields(1);
    for (char c : line) {
        if (c == '\t')
            fields.emplace_back();
        else if (c != '\r')
            fields.back() += c;
    }
    return fields;
}

}  // namespace

const char* KVSimServer::StepName(KVSimStep step) {
    switch (step) {
    case KVSimStep::Query: return "query";
    case KVSimStep::Register: return "register";
    case KVSimStep::Validate: return "validate";
    }
    return "?";
}

bool KVSimServer::ParseFailure(const std::string& text, KVSimFailure* failure, std::string* problem) {
    const size_t equals = text.find('=');
    if (equals == std::string::npos) {
        *problem = "\"" + text + "\" is not STEP=KEY";
        return false;
    }
    const std::string step = text.substr(0, equals);
    KVSimFailure parsed;
    if (step == "query")
        parsed.step = KVSimStep::Query;
    else if (step == "register")
        parsed.step = KVSimStep::Register;
    else if (step == "validate")
        parsed.step = KVSimStep::Validate;
    else {
        *problem = "\"" + step + "\" is no step (query, register or validate)";
        return false;
    }
    // Keys may hold blanks ("SERVER NOT FOUND") but no colon, so the first colon starts the text.
    const std::string rest = text.substr(equals + 1);
    const size_t colon = rest.find(':');
    parsed.key = rest.substr(0, colon);
    if (colon != std::string::npos) parsed.text = rest.substr(colon + 1);
    if (parsed.key.empty()) {
        *problem = "\"" + text + "\" names no error key";
        return false;
    }
    *failure = parsed;
    return true;
}

KVSimServer::KVSimServer(KVSimSettings settings, Note note)
    : settings_(std::move(settings)), note_(std::move(note)) {
    if (!note_) note_ = [](const std::string&) {};
    failureUsed_.assign(settings_.failures.size(), false);
    pendingLeft_ = settings_.pendingAnswers;
    LoadAccounts();
}

KVResultRecord KVSimServer::Answer(const KVActionRecord& action) {
    switch (action.Action) {
    case KVACTION_QUERYREGISTER: return Query(action);
    case KVACTION_REGISTER: return Register(action);
    case KVACTION_VALIDATE: return Validate(action);
    default: break;
    }
    note_("action " + std::to_string(action.Action) + " asks the server nothing");
    return KVServerError(kUnknownError, "The server does not know this request.");
}

bool KVSimServer::IsRegistered(const std::string& msisdn) const {
    for (const Account& account : accounts_)
        if (account.msisdn == msisdn) return true;
    return false;
}

bool KVSimServer::TakeFailure(KVSimStep step, KVResultRecord* answer) {
    for (size_t i = 0; i < settings_.failures.size(); ++i) {
        const KVSimFailure& failure = settings_.failures[i];
        if (failureUsed_[i] || failure.step != step) continue;
        failureUsed_[i] = true;
        std::string text = failure.text;
        const KVServerErrorRule* known = KVFindServerError(failure.key);
        if (text.empty() && known != nullptr) text = known->serverText;
        if (text.empty()) text = "The server answered " + failure.key + ".";
        *answer = KVServerError(failure.key, text);
        return true;
    }
    return false;
}

KVResultRecord KVSimServer::Refusal(const KVActionRecord& action) const {
    if (action.Msisdn.empty()) return KVServerError(kNoNumber, "The mobile phone number is missing.");
    if (blocked_.count(action.Msisdn))
        return KVServerError(kBlocked, "The mobile phone number " + action.Msisdn + " is blocked.");
    for (const Account& account : accounts_) {
        if (account.msisdn == action.Msisdn)
            return KVServerError(kNumberTaken, "The mobile phone number " + action.Msisdn + " already has an account.");
        if (!action.UserEmail.empty() && account.email == action.UserEmail)
            return KVServerError(kAddressTaken,
                                 "The e-mail address " + action.UserEmail + " already belongs to an account.");
    }
    return KVResultRecord();
}

KVResultRecord KVSimServer::Query(const KVActionRecord& action) {
    KVResultRecord answer;
    if (TakeFailure(KVSimStep::Query, &answer)) return answer;
    answer = Refusal(action);
    if (!answer.ErrorKey.empty()) return answer;
    return KVResult(KVRESULT_QUERIEDREGISTER);
}

KVResultRecord KVSimServer::Register(const KVActionRecord& action) {
    KVResultRecord answer;
    if (TakeFailure(KVSimStep::Register, &answer)) return answer;
    answer = Refusal(action);
    if (!answer.ErrorKey.empty()) return answer;
    if (pendingLeft_ > 0) {
        --pendingLeft_;
        answer = KVResult(KVRESULT_PENDING);
        answer.WaitSeconds = settings_.waitSeconds;
        answer.ResultText = "The registration of " + action.Msisdn + " is queued.";
        return answer;
    }
    // The next registration (after an expired code, say) waits its turn again.
    pendingLeft_ = settings_.pendingAnswers;
    code_ = MakeCode();
    codeMsisdn_ = action.Msisdn;
    wrongCodes_ = 0;
    note_("SMS to " + action.Msisdn + ": your registration code is " + code_);
    if (!settings_.codeFile.empty()) {
        std::ofstream file(settings_.codeFile, std::ios::binary | std::ios::trunc);
        file << code_ << "\n";
        if (!file) note_("cannot write the registration code to " + settings_.codeFile);
    }
    answer = KVResult(KVRESULT_VALIDATE);
    answer.ResultText = "A registration code was sent to " + action.Msisdn + ".";
    return answer;
}

KVResultRecord KVSimServer::Validate(const KVActionRecord& action) {
    KVResultRecord answer;
    if (TakeFailure(KVSimStep::Validate, &answer)) return answer;
    if (blocked_.count(action.Msisdn) || blocked_.count(codeMsisdn_))
        return KVServerError(kBlocked, "The mobile phone number " + codeMsisdn_ + " is blocked.");
    if (code_.empty()) return KVServerError(kNoCodeSent, "No registration code has been sent. Please register again.");
    if (action.RegCode != code_) {
        if (++wrongCodes_ < kAttempts) return KVServerError(kWrongCode, "The registration code is not valid.");
        blocked_.insert(codeMsisdn_);
        code_.clear();
        return KVServerError(kBlocked, "Three wrong registration codes: " + codeMsisdn_ + " is blocked.");
    }
    const Account account{codeMsisdn_, action.UserEmail, action.UserName};
    accounts_.push_back(account);
    SaveAccount(account);
    code_.clear();
    answer = KVResult(KVRESULT_REGISTERED);
    answer.InfoText = "Welcome" + (account.name.empty() ? std::string() : ", " + account.name) +
                      ". The account of " + account.msisdn +
                      " is registered: you can now send SMS and MMS messages from Outlook.";
    return answer;
}

void KVSimServer::LoadAccounts() {
    if (settings_.accountsFile.empty()) return;
    std::ifstream file(settings_.accountsFile, std::ios::binary);
    if (!file) return;  // no accounts yet
    std::string line;
    for (int number = 1; std::getline(file, line); ++number) {
        if (line.empty() || line == "\r" || line[0] == '#') continue;
        const std::vector<std::string> fields = SplitTabs(line);
        if (fields.size() != 3 || fields[0].empty()) {
            note_(settings_.accountsFile + " line " + std::to_string(number) +
                  " is not \"msisdn<TAB>email<TAB>name\"; skipped");
            continue;
        }
        accounts_.push_back({fields[0], fields[1], fields[2]});
    }
}

void KVSimServer::SaveAccount(const Account& account) {
    if (settings_.accountsFile.empty()) return;
    // Tabs and line breaks would split the record when it is read back.
    auto clean = [](std::string text) {
        for (char& c : text)
            if (c == '\t' || c == '\r' || c == '\n') c = ' ';
        return text;
    };
    std::ofstream file(settings_.accountsFile, std::ios::binary | std::ios::app);
    file << clean(account.msisdn) << '\t' << clean(account.email) << '\t' << clean(account.name) << '\n';
    if (!file) note_("cannot add the account of " + account.msisdn + " to " + settings_.accountsFile);
}

std::string KVSimServer::MakeCode() {
    if (settings_.makeCode) return settings_.makeCode();
    std::random_device seed;
    std::uniform_int_distribution<int> digit(0, 9);
    std::string code;
    for (int i = 0; i < 6; ++i) code += static_cast<char>('0' + digit(seed));
    return code;
}
