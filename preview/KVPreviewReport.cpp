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
