#include "host/KVHostReport.h"

namespace {

const char kResultPrefix[] = "KVRESULT_";
const char kActionPrefix[] = "KVACTION_";

const char* ResultWord(int32_t result) {
    switch (result) {
    case KVRESULT_NONE: return "NONE";
    case KVRESULT_REGISTERED: return "REGISTERED";
    case KVRESULT_VALIDATE: return "VALIDATE";
    case KVRESULT_PENDING: return "PENDING";
    case KVRESULT_ERROR: return "ERROR";
    case KVRESULT_QUERIEDREGISTER: return "QUERIEDREGISTER";
    default: return nullptr;
    }
}

const char* ActionWord(int32_t action) {
    switch (action) {
    case KVACTION_FINISHED: return "FINISHED";
    case KVACTION_REGISTER: return "REGISTER";
    case KVACTION_VALIDATE: return "VALIDATE";
    case KVACTION_CANCEL: return "CANCEL";
    case KVACTION_ERROR: return "ERROR";
    case KVACTION_QUERYREGISTER: return "QUERYREGISTER";
    default: return nullptr;
    }
}

std::string Word(const char* word, int32_t value) { return word ? word : std::to_string(value); }

// Quoted when a reader could not tell where the value ends; a step stays one line.
std::string Field(const char* name, const std::string& value) {
    const std::string shown = KVHostReport::OneLine(value, "\\n");
    const bool plain = !shown.empty() && shown.find_first_of(" \"\t") == std::string::npos;
    return std::string(" ") + name + "=" + (plain ? shown : "\"" + shown + "\"");
}

}  // namespace

std::string KVHostReport::ResultName(int32_t result) { return kResultPrefix + Word(ResultWord(result), result); }

std::string KVHostReport::ActionName(int32_t action) { return kActionPrefix + Word(ActionWord(action), action); }

std::string KVHostReport::StepLine(int step, const KVResultRecord& result, const KVActionRecord& action) {
    std::string line = "step " + std::to_string(step) + ": " + ResultName(result.Result);
    if (result.Result == KVRESULT_ERROR) line += " (" + result.ErrorKey + ")";
    if (result.Result == KVRESULT_PENDING) line += " (wait " + std::to_string(result.WaitSeconds) + " s)";
    line += " -> " + ActionName(action.Action);
    std::string fields;
    if (!action.Msisdn.empty()) fields += Field("Msisdn", action.Msisdn);
    if (!action.UserEmail.empty()) fields += Field("UserEmail", action.UserEmail);
    if (!action.UserName.empty()) fields += Field("UserName", action.UserName);
    // Its length would already tell too much.
    if (!action.UserPassword.empty()) fields += Field("UserPassword", "********");
    if (!action.GroupId.empty()) fields += Field("GroupId", action.GroupId);
    if (!action.ContactPerson.empty()) fields += Field("ContactPerson", action.ContactPerson);
    if (!action.ContactInfo.empty()) fields += Field("ContactInfo", action.ContactInfo);
    if (!action.RegCode.empty()) fields += Field("RegCode", action.RegCode);
    if (action.UseIp != 0) fields += " UseIp=" + std::to_string(action.UseIp);
    if (action.Action == KVACTION_ERROR) {
        fields += Field("ErrorKey", action.ErrorKey);
        fields += Field("ErrorText", action.ErrorText);
    }
    if (!fields.empty()) line += " |" + fields;
    return line;
}

std::string KVHostReport::OneLine(const std::string& text, const char* lineBreak) {
    std::string line;
    for (char c : text) {
        if (c == '\n')
            line += lineBreak;
        else if (c != '\r')
            line += c;
    }
    return line;
}

std::string KVHostReport::RoadEntry(const KVResultRecord& result, const KVActionRecord& action) {
    std::string entry = Word(ResultWord(result.Result), result.Result);
    if (result.Result == KVRESULT_ERROR) entry += "(" + result.ErrorKey + ")";
    return entry + ">" + Word(ActionWord(action.Action), action.Action);
}
