// What the preview found, written the way compilers write it (no <windows.h>).
//   KVPreviewSeverity     an error fails an integrator's build, a warning does not
//   KVPreviewProblem      one problem: file, line, what is wrong, the value that was wrong
//   KVPreviewReport       every problem of one preview, in file and line order, and the summary
//   KVLanguageSources     where each text of the language files is defined: file and line
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "common/KVLanguageFile.h"

enum class KVPreviewSeverity { Error, Warning };

struct KVPreviewProblem {
    KVPreviewSeverity severity = KVPreviewSeverity::Error;
    std::string file;
    size_t line = 0;  // 0: the file as a whole
    std::string text;
    std::string value;

    // "file:line: error: text (value)"; without a line "file: error: text (value)".
    std::string Format() const;
};

class KVPreviewReport {
public:
    // The same problem found twice (a text shown on several pages) is reported once.
    void Add(KVPreviewProblem problem);
    void Error(const std::string& file, size_t line, std::string text, std::string value);
    void Warning(const std::string& file, size_t line, std::string text, std::string value);
    // Some notes about the run that are no problem of the files ("5 pages drawn").
    void Note(std::string note) { notes_.push_back(std::move(note)); }

    size_t Errors() const;
    size_t Warnings() const;
    // The problems sorted by file and line (stable), then the one-line summary.
    std::string Format() const;
    // The problems as lines of tab-separated fields that Load reads back, so that a preview
    // run in another process (one at another display scale) can hand over what it found.
    std::string Save() const;
    // Adds the problems of a text that Save wrote; false, with nothing added, for any other.
    bool Load(std::string_view saved);
    // 1 when there is an error, else 0.
    int ExitStatus() const { return Errors() > 0 ? 1 : 0; }
    const std::vector<KVPreviewProblem>& Problems() const { return problems_; }

private:
    std::vector<KVPreviewProblem> problems_;
    std::vector<std::string> notes_;
};

// A value quoted for a report line: control characters are written as escapes, so that a
// text with CR LF stays on its line.
std::string KVQuote(std::string_view text);

// The language files in the order they are loaded; the first that defines a key wins, as in
// the language table.
class KVLanguageSources {
public:
    struct Source {
        const std::string* file = nullptr;
        const LanguageEntry* entry = nullptr;
    };

    void AddFile(std::string file, std::string_view bytes);
    // Null members when no file defines the key (the caller's default is shown). Valid until
    // the next AddFile.
    Source Find(const std::string& key) const;

private:
    std::vector<std::pair<std::string, LanguageEntries>> files_;
};
