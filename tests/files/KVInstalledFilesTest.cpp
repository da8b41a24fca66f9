// The register.cfg and language files that ship: what an edit by hand could quietly break.
#include <gtest/gtest.h>

#include <cctype>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "common/KVLanguageFile.h"

namespace {

std::string ReadFile(const std::string& name) {
    std::ifstream in(std::string(KV_FILES_DIR) + "/" + name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::vector<std::string> Split(const std::string& text, const std::string& separator) {
    std::vector<std::string> parts;
    size_t start = 0;
    for (size_t at; (at = text.find(separator, start)) != std::string::npos; start = at + separator.size())
        parts.push_back(text.substr(start, at - start));
    parts.push_back(text.substr(start));
    return parts;
}

TEST(KVInstalledFilesTest, LanguageFilesHaveOneEntryPerCrLfLine) {
    for (const char* name : {"register.lang", "registercompany.lang"}) {
        SCOPED_TRACE(name);
        const std::string bytes = ReadFile(name);
        size_t definitions = 0;
        for (const std::string& line : Split(bytes, "\r\n"))
            if (!line.empty() && line[0] != '#') ++definitions;
        LanguageEntries entries;
        // Fewer entries than lines: a key defined twice. A stray LF would glue lines into one key.
        EXPECT_EQ(definitions, ParseLanguageFile(bytes, entries));
        for (const auto& [key, entry] : entries) EXPECT_EQ(std::string::npos, key.find_first_of("\r\n")) << key;
        EXPECT_GT(entries.size(), 1u);
    }
}

// Two controls on one page with the same underlined letter: Alt+letter reaches only one.
TEST(KVInstalledFilesTest, MnemonicsDoNotClashWithinAPage) {
    LanguageEntries entries;
    ParseLanguageFile(ReadFile("registercompany.lang"), entries);
    ParseLanguageFile(ReadFile("register.lang"), entries);
    const std::map<std::string, std::vector<std::string>> pages = {
        {"query-register", {"lblMsisdn", "lblUserEmail", "lblConfirmUserEmail", "cmdQueryRegisterNext", "cmdCancel"}},
        {"user-info", {"lblUserName", "lblUserPassword", "lblGroupId", "lblContactPerson", "lblContactInfo",
                       "lblCountry", "cmdUserInfoBack", "cmdUserInfoNext", "cmdCancel"}},
        {"validate", {"lblRegCode", "cmdValidateBack", "cmdValidateFinish", "cmdCancel"}},
    };
    for (const auto& [page, keys] : pages) {
        std::map<char, std::string> taken;
        for (const std::string& key : keys) {
            ASSERT_TRUE(entries.count(key)) << key;
            const char letter = static_cast<char>(std::tolower(static_cast<unsigned char>(entries[key].accelerator)));
            if (!letter) continue;
            const auto [other, fresh] = taken.emplace(letter, key);
            EXPECT_TRUE(fresh) << page << ": " << key << " and " << other->second << " both use " << letter;
        }
    }
}

struct Rect {
    long left, top, right, bottom;
};

// Every control of a form page lies between the header and the line above the buttons,
// inside the window's margins, and on no other control of its page.
TEST(KVInstalledFilesTest, FormLayoutFitsTheWindowWithoutOverlaps) {
    const std::vector<std::string> lines = Split(ReadFile("register.cfg"), "\r\n");
    ASSERT_GE(lines.size(), 4u);
    const std::vector<std::string> size = Split(lines[0], ",");
    ASSERT_EQ(2u, size.size());
    const long width = std::atol(size[0].c_str()), height = std::atol(size[1].c_str());
    const size_t components = Split(lines[1], ",").size();
    ASSERT_GE(lines.size(), 3 + components);

    const long headerBottom = 61, buttonLine = height - 72, margin = 8;
    std::map<long, std::vector<Rect>> pages;
    for (size_t i = 3; i < 3 + components; ++i) {
        SCOPED_TRACE(lines[i]);
        std::vector<long> f;
        for (const std::string& field : Split(lines[i], ",")) f.push_back(std::atol(field.c_str()));
        std::vector<Rect> rects;
        // A text line: rectangle, page; an edit field: label, required flag, edit, page; the
        // country list: label, list, page. The list's rectangle includes its drop-down part,
        // of which only one edit's height shows while it is closed.
        if (f.size() != 5 && f.size() != 9 && f.size() != 10) {
            ADD_FAILURE() << "unexpected number of fields";
            continue;
        }
        rects.push_back({f[0], f[1], f[2], f[3]});
        if (f.size() == 10) rects.push_back({f[5], f[6], f[7], f[8]});
        if (f.size() == 9) rects.push_back({f[4], f[5], f[6], f[5] + 21});
        for (const Rect& r : rects) {
            EXPECT_GE(r.left, margin);
            EXPECT_GT(r.top, headerBottom);
            EXPECT_LE(r.right, width - 6 - margin);
            EXPECT_LT(r.bottom, buttonLine);
            EXPECT_LT(r.left, r.right);
            EXPECT_LT(r.top, r.bottom);
            for (const Rect& o : pages[f.back()])
                EXPECT_FALSE(r.left < o.right && o.left < r.right && r.top < o.bottom && o.top < r.bottom)
                    << "overlaps " << o.left << "," << o.top << "," << o.right << "," << o.bottom;
            pages[f.back()].push_back(r);
        }
    }
}

}  // namespace
