#include "preview/KVPreviewChecks.h"

#include <cctype>
#include <map>

namespace {

std::string RectText(const KVConfigRect& r) {
    return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
           std::to_string(r.bottom);
}

const KVConfigComponent* FindComponent(const KVRegisterConfig& config, int id) {
    for (const KVConfigComponent& c : config.components)
        if (c.row->number == id) return &c;
    return nullptr;
}

// The page field as the file writes it: its difference from UserInterface places it.
int32_t PageField(const KVRegisterConfig& config, const KVConfigComponent& c) {
    return config.userInterface - (c.page == KVPages::PAGE_QUERYREGISTER ? 2 : 1);
}

const char* ProblemText(KVConfigCheck check) {
    switch (check) {
    case KVConfigCheck::UseIp: return "UseIp must be 1 or 2";
    case KVConfigCheck::UserInterface: return "UserInterface must be 0, 1 or 2";
    case KVConfigCheck::ControlBox: return "ControlBox must be 0 or 1, or left out";
    case KVConfigCheck::UnknownComponent: return "no component has this id";
    case KVConfigCheck::DuplicateComponent: return "the component is listed twice";
    case KVConfigCheck::Coordinate: return "a coordinate reads 0, or the definition line is missing";
    case KVConfigCheck::Required: return "the required flag must be 0 or 1";
    case KVConfigCheck::PageValue: return "the page field must be UserInterface minus 1 or minus 2";
    }
    return "unknown problem";
}

}  // namespace

KVTextOrigin KVFindTextOrigin(const std::string& key, const KVLanguageSources& sources, const std::string& mainFile) {
    const KVLanguageSources::Source source = sources.Find(key);
    if (source.entry == nullptr) return {mainFile, 0, key};
    return {*source.file, source.entry->line, key};
}

void KVReportConfigProblems(const KVRegisterConfig& config, const std::string& file, KVPreviewReport& report) {
    for (const KVConfigProblem& problem : config.problems) {
        std::string value = problem.value;
        if (!problem.idField.empty() && problem.check != KVConfigCheck::UnknownComponent &&
            problem.check != KVConfigCheck::DuplicateComponent)
            value += " in the definition of id " + problem.idField + ": " + KVQuote(problem.definition);
        report.Error(file, static_cast<size_t>(problem.lineNumber), ProblemText(problem.check), value);
    }
}

void KVCheckUsability(const KVRegisterConfig& config, const std::string& file, KVPreviewReport& report) {
    const KVConfigComponent* email = FindComponent(config, COMPONENT_USEREMAIL);
    const KVConfigComponent* confirm = FindComponent(config, COMPONENT_CONFIRMUSEREMAIL);
    const bool required = (email != nullptr && email->required) || (confirm != nullptr && confirm->required);
    if (required && (email == nullptr || confirm == nullptr)) {
        const KVConfigComponent& given = email != nullptr ? *email : *confirm;
        report.Error(file, static_cast<size_t>(given.lineNumber),
                     "the e-mail field and its confirmation share one required bit: without the other one "
                     "Next stays disabled",
                     email != nullptr ? "id 9 required, id 16 not defined" : "id 16 required, id 9 not defined");
    } else if (required && email->page != confirm->page) {
        const KVConfigComponent& given = email->required ? *email : *confirm;
        report.Error(file, static_cast<size_t>(given.lineNumber),
                     "the e-mail field and its confirmation share one required bit and must stand on one page: "
                     "Next stays disabled while the other one is hidden",
                     "id 9 page field " + std::to_string(PageField(config, *email)) + ", id 16 page field " +
                         std::to_string(PageField(config, *confirm)));
    }
    if (config.userInterface == 2 && email != nullptr && email->page != KVPages::PAGE_QUERYREGISTER)
        report.Error(file, static_cast<size_t>(email->lineNumber),
                     "with two form pages the e-mail field must stand on the query-register page, where Next "
                     "checks the address",
                     "page field " + std::to_string(PageField(config, *email)));
}

void KVCheckGeometry(const std::vector<KVPlacedControl>& page, int32_t clientWidth, int32_t clientHeight,
                     const std::string& file, KVPreviewReport& report) {
    for (const KVPlacedControl& c : page) {
        if (c.line == 0) continue;
        const KVConfigRect& r = c.rect;
        if (r.right <= r.left || r.bottom <= r.top)
            report.Error(file, c.line, "the control has no area", c.name + " " + RectText(r));
        else if (r.left < 0 || r.top < 0 || r.right > clientWidth || r.bottom > clientHeight)
            report.Error(file, c.line, "the control lies outside the window",
                         c.name + " " + RectText(r) + " in a client area of " + std::to_string(clientWidth) + "x" +
                             std::to_string(clientHeight));
    }
    for (size_t i = 0; i < page.size(); ++i)
        for (size_t j = i + 1; j < page.size(); ++j) {
            const KVPlacedControl& a = page[i];
            const KVPlacedControl& b = page[j];
            if (a.line == 0 && b.line == 0) continue;
            const KVConfigRect& p = a.rect;
            const KVConfigRect& q = b.rect;
            if (!(p.left < q.right && q.left < p.right && p.top < q.bottom && q.top < p.bottom)) continue;
            // Reported where the author placed the later of the two.
            const KVPlacedControl& later = a.line >= b.line ? a : b;
            const KVPlacedControl& other = &later == &a ? b : a;
            std::string value = later.name + " " + RectText(later.rect) + " and " + other.name + " " + RectText(other.rect);
            if (other.line > 0 && other.line != later.line) value += " of line " + std::to_string(other.line);
            report.Error(file, later.line, "the controls overlap", value);
        }
}

void KVCheckMnemonics(const std::string& page, const std::vector<KVShownText>& texts, KVPreviewReport& report) {
    std::map<char, const KVShownText*> taken;
    for (const KVShownText& shown : texts) {
        const char accelerator = AcceleratorOf(shown.text);
        if (accelerator == 0) continue;
        const char letter = static_cast<char>(std::tolower(static_cast<unsigned char>(accelerator)));
        const auto [first, fresh] = taken.emplace(letter, &shown);
        if (fresh) continue;
        const KVShownText& other = *first->second;
        std::string value = std::string("Alt+") + static_cast<char>(std::toupper(static_cast<unsigned char>(letter))) +
                            ": " + shown.origin.Describe() + " " + KVQuote(shown.text) + " and " +
                            other.origin.Describe() + " " + KVQuote(other.text);
        if (other.origin.line > 0) value += " of " + other.origin.file + ":" + std::to_string(other.origin.line);
        report.Warning(shown.origin.file, shown.origin.line, "two controls of the " + page + " page share a mnemonic",
                       value);
    }
}

void KVCheckLanguageFile(const std::string& file, std::string_view bytes, KVPreviewReport& report) {
    constexpr std::string_view kLineEnd = "\r\n";
    LanguageEntries first;  // each key with the line that defined it first
    size_t lineNumber = 0;
    for (size_t start = 0; start < bytes.size();) {
        size_t end = bytes.find(kLineEnd, start);
        if (end == std::string_view::npos) end = bytes.size();
        const std::string_view line = bytes.substr(start, end - start);
        start = end + kLineEnd.size();
        ++lineNumber;
        if (line.find('\n') != std::string_view::npos)
            report.Warning(file, lineNumber, "a line feed without a carriage return joins two lines into one entry",
                           KVQuote(line));
        // The line read alone, by the same rules as the whole file.
        LanguageEntries entries;
        if (ParseLanguageFile(line, entries) == 0) continue;
        const auto& [key, entry] = *entries.begin();
        const auto earlier = first.find(key);
        if (earlier != first.end()) {
            report.Warning(file, lineNumber, "the key is defined again: the first definition wins",
                           key + " (first on line " + std::to_string(earlier->second.line) + ")");
            continue;
        }
        LanguageEntry here = entry;
        here.line = lineNumber;
        first.emplace(key, here);
    }
}
