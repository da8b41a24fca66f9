#include "common/KVLanguageFile.h"

namespace {

constexpr std::string_view kNewlineTag = "<newline>";
constexpr std::string_view kLineEnd = "\r\n";

// Copies `text` with every `from` replaced by `to`; building a new string keeps long texts
// with many occurrences linear.
std::string ReplaceAll(std::string_view text, std::string_view from, std::string_view to) {
    std::string out;
    size_t start = 0;
    for (size_t hit = text.find(from); hit != std::string_view::npos; hit = text.find(from, start)) {
        if (out.empty()) out.reserve(text.size());
        out.append(text.substr(start, hit - start));
        out.append(to);
        start = hit + from.size();
    }
    if (start == 0) return std::string(text);
    out.append(text.substr(start));
    return out;
}

void AddLine(std::string_view line, size_t lineNumber, LanguageEntries& entries, size_t& added) {
    if (line.empty() || line.front() == '#') return;
    const size_t equals = line.find('=');
    const std::string_view key = line.substr(0, equals);
    const auto place = entries.lower_bound(key);
    if (place != entries.end() && place->first == key) return;
    LanguageEntry entry;
    if (equals != std::string_view::npos) entry.text = ReplaceNewlines(line.substr(equals + 1));
    entry.accelerator = AcceleratorOf(entry.text);
    entry.line = lineNumber;
    entries.emplace_hint(place, std::string(key), std::move(entry));
    ++added;
}

}  // namespace

size_t ParseLanguageFile(std::string_view bytes, LanguageEntries& entries) {
    size_t added = 0;
    size_t start = 0;
    size_t lineNumber = 0;
    while (start < bytes.size()) {
        size_t end = bytes.find(kLineEnd, start);
        if (end == std::string_view::npos) end = bytes.size();
        AddLine(bytes.substr(start, end - start), ++lineNumber, entries, added);
        start = end + kLineEnd.size();
    }
    return added;
}

std::string ReplaceNewlines(std::string_view text) {
    return ReplaceAll(text, kNewlineTag, kLineEnd);
}

char AcceleratorOf(std::string_view text) {
    for (size_t i = text.find('&'); i != std::string_view::npos; i = text.find('&', i)) {
        if (i + 1 >= text.size()) return 0;
        if (text[i + 1] != '&') return text[i + 1];
        i += 2;
    }
    return 0;
}

std::string ReplacePlaceholders(std::string text, const LanguageReplacements& replacements) {
    for (const auto& [name, value] : replacements)
        text = ReplaceAll(text, "<" + name + ">", value);
    return text;
}

std::string FormatLimited(std::string_view format, std::initializer_list<std::string_view> args) {
    constexpr size_t kMaxChars = kFormatLimit - 1;  // room for the terminating zero
    std::string out;
    auto arg = args.begin();
    auto append = [&out](std::string_view piece) {
        out.append(piece.substr(0, kMaxChars - out.size()));
    };
    for (size_t i = 0; i < format.size() && out.size() < kMaxChars; ++i) {
        const bool directive = format[i] == '%' && i + 1 < format.size();
        if (directive && format[i + 1] == '%') {
            append("%");
            ++i;
        } else if (directive && format[i + 1] == 's') {
            if (arg != args.end()) {
                std::string_view value = *arg++;
                append(value.substr(0, value.find('\0')));
            }
            ++i;
        } else {
            append(format.substr(i, 1));
        }
    }
    return out;
}
