#include "preview/KVPreviewReport.h"

#include <algorithm>
#include <cstdio>

std::string KVPreviewProblem::Format() const {
    std::string out = file;
    if (line > 0) out += ":" + std::to_string(line);
    out += severity == KVPreviewSeverity::Error ? ": error: " : ": warning: ";
    out += text;
    if (!value.empty()) out += " (" + value + ")";
    return out;
}

void KVPreviewReport::Add(KVPreviewProblem problem) {
    const std::string line = problem.Format();
    for (const KVPreviewProblem& known : problems_)
        if (known.Format() == line) return;
    problems_.push_back(std::move(problem));
}

void KVPreviewReport::Error(const std::string& file, size_t line, std::string text, std::string value) {
    Add({KVPreviewSeverity::Error, file, line, std::move(text), std::move(value)});
}

void KVPreviewReport::Warning(const std::string& file, size_t line, std::string text, std::string value) {
    Add({KVPreviewSeverity::Warning, file, line, std::move(text), std::move(value)});
}

size_t KVPreviewReport::Errors() const {
    return static_cast<size_t>(std::count_if(problems_.begin(), problems_.end(), [](const KVPreviewProblem& p) {
        return p.severity == KVPreviewSeverity::Error;
    }));
}

size_t KVPreviewReport::Warnings() const { return problems_.size() - Errors(); }

std::string KVPreviewReport::Format() const {
    std::vector<const KVPreviewProblem*> sorted;
    for (const KVPreviewProblem& p : problems_) sorted.push_back(&p);
    std::stable_sort(sorted.begin(), sorted.end(), [](const KVPreviewProblem* a, const KVPreviewProblem* b) {
        return a->file != b->file ? a->file < b->file : a->line < b->line;
    });
    std::string out;
    for (const KVPreviewProblem* p : sorted) out += p->Format() + "\n";
    const size_t errors = Errors();
    const size_t warnings = Warnings();
    out += std::to_string(errors) + (errors == 1 ? " error, " : " errors, ") + std::to_string(warnings) +
           (warnings == 1 ? " warning" : " warnings");
    for (const std::string& note : notes_) out += "; " + note;
    out += "\n";
    return out;
}

namespace {

// Tabs and line ends would split a field; the backslash escapes itself.
std::string EscapeField(std::string_view field) {
    std::string out;
    for (const char c : field) {
        switch (c) {
        case '\\': out += "\\\\"; break;
        case '\t': out += "\\t"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        default: out += c;
        }
    }
    return out;
}

bool UnescapeField(std::string_view field, std::string& out) {
    out.clear();
    for (size_t i = 0; i < field.size(); ++i) {
        if (field[i] != '\\') {
            out += field[i];
            continue;
        }
        if (++i == field.size()) return false;
        switch (field[i]) {
        case '\\': out += '\\'; break;
        case 't': out += '\t'; break;
        case 'n': out += '\n'; break;
        case 'r': out += '\r'; break;
        default: return false;
        }
    }
    return true;
}

}  // namespace

std::string KVPreviewReport::Save() const {
    std::string out;
    for (const KVPreviewProblem& p : problems_)
        out += std::string(p.severity == KVPreviewSeverity::Error ? "error" : "warning") + "\t" + EscapeField(p.file) +
               "\t" + std::to_string(p.line) + "\t" + EscapeField(p.text) + "\t" + EscapeField(p.value) + "\n";
    return out;
}

bool KVPreviewReport::Load(std::string_view saved) {
    std::vector<KVPreviewProblem> read;
    while (!saved.empty()) {
        const size_t end = saved.find('\n');
        if (end == std::string_view::npos) return false;
        std::string_view line = saved.substr(0, end);
        saved.remove_prefix(end + 1);
        std::vector<std::string_view> fields;
        for (size_t tab; (tab = line.find('\t')) != std::string_view::npos; line.remove_prefix(tab + 1))
            fields.push_back(line.substr(0, tab));
        fields.push_back(line);
        if (fields.size() != 5) return false;
        KVPreviewProblem p;
        if (fields[0] == "error")
            p.severity = KVPreviewSeverity::Error;
        else if (fields[0] == "warning")
            p.severity = KVPreviewSeverity::Warning;
        else
            return false;
        if (fields[2].empty() || fields[2].size() > 9 ||
            fields[2].find_first_not_of("0123456789") != std::string_view::npos)
            return false;
        p.line = static_cast<size_t>(std::stoul(std::string(fields[2])));
        if (!UnescapeField(fields[1], p.file) || !UnescapeField(fields[3], p.text) || !UnescapeField(fields[4], p.value))
            return false;
        read.push_back(std::move(p));
    }
    for (KVPreviewProblem& p : read) Add(std::move(p));
    return true;
}

std::string KVQuote(std::string_view text) {
    std::string out = "\"";
    for (const char c : text) {
        const unsigned char byte = static_cast<unsigned char>(c);
        if (c == '\r') {
            out += "\\r";
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (byte < 0x20 || byte == 0x7F) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\x%02X", byte);
            out += escape;
        } else {
            out += c;
        }
    }
    return out + "\"";
}

void KVLanguageSources::AddFile(std::string file, std::string_view bytes) {
    LanguageEntries entries;
    ParseLanguageFile(bytes, entries);
    files_.emplace_back(std::move(file), std::move(entries));
}

KVLanguageSources::Source KVLanguageSources::Find(const std::string& key) const {
    for (const auto& [file, entries] : files_) {
        const auto it = entries.find(key);
        if (it != entries.end()) return {&file, &it->second};
    }
    return {};
}
