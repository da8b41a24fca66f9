// KVRegisterPreview.exe as an integrator's build runs it: broken files get one line per problem
// with file and line (the shipped installation is drawn at each display scale in KVPreviewDpiTest).
#include <gtest/gtest.h>
#include <gmock/gmock.h>

#include <windows.h>

#include <fstream>
#include <string>
#include <vector>

#include "tests/preview/KVPreviewRun.h"
#include "tests/support/KVTestEnv.h"

namespace {

using ::testing::HasSubstr;
using ::testing::Not;

class KVPreviewTest : public ::testing::Test {
protected:
    // Runs the preview on `folder` to its end and collects what it prints.
    KVPreviewOutcome Preview(const std::string& folder) {
        return KVRunPreview({folder, env_.TempFolder() + "pages"}, env_.TempFolder());
    }

    // A folder of the test's own with the given files, their lines joined with CR LF.
    std::string Installation(const std::vector<std::pair<std::string, std::vector<std::string>>>& files) {
        const std::string folder = env_.TempFolder() + "installation";
        CreateDirectoryA(folder.c_str(), nullptr);
        for (const auto& [name, lines] : files) {
            std::string bytes;
            for (const std::string& line : lines) bytes += line + "\r\n";
            std::ofstream(folder + "\\" + name, std::ios::binary) << bytes;
        }
        return folder;
    }

    KVTestEnv env_;
};

TEST_F(KVPreviewTest, EveryProblemOfABrokenRegisterCfgIsListedWithItsLine) {
    const std::string folder = Installation({
        {"register.cfg",
         {"460,350", "8,30,9,9,16,10", "3,2,5", "44,113,176,127,1,182,110,420,131,0", "1,2,3,4",
          "44,140,176,154,7,182,137,420,158,0", "44,140,176,154,1,182,137,420,158,0",
          "44,0,176,181,0,182,164,420,185,0", "44,194,176,208,0,182,191,420,212,5"}},
        {"register.lang", {"lblMsisdn=&Mobile:"}},
    });
    const KVPreviewOutcome outcome = Preview(folder);
    EXPECT_EQ(outcome.exitCode, 1u) << outcome.out;
    const std::string cfg = folder + "\\register.cfg:";
    for (const std::string& line : {
             cfg + "3: error: UseIp must be 1 or 2 (3)",
             cfg + "3: error: ControlBox must be 0 or 1, or left out (5)",
             cfg + "5: error: no component has this id (30)",
             cfg + "6: error: the required flag must be 0 or 1 (7 in the definition of id 9",
             cfg + "7: error: the component is listed twice (9)",
             cfg + "8: error: a coordinate reads 0, or the definition line is missing (16",
             cfg + "9: error: the page field must be UserInterface minus 1 or minus 2 (5",
         })
        EXPECT_THAT(outcome.out, HasSubstr(line)) << outcome.out;
    EXPECT_THAT(outcome.out, HasSubstr("7 errors, 0 warnings; no pages drawn")) << outcome.out;
}

TEST_F(KVPreviewTest, UnusableLayoutsAndLanguageProblemsAreListedWithTheirLines) {
    const std::string folder = Installation({
        {"register.cfg",
         {"460,350", "8,9,11,12,21,1", "1,2,1",
          "44,113,176,127,1,182,110,420,131,0",   // 4: the mobile number
          "44,140,176,154,1,182,137,420,158,1",   // 5: the e-mail field, required, on the user-info page
          "44,150,176,164,0,182,170,420,190,1",   // 6: the name's label runs into the e-mail's
          "44,200,176,214,0,182,197,520,218,1",   // 7: the password field leaves the window
          "44,70,420,84,1",                       // 8: one line high for a long text
          "44,230,420,244,0"}},                   // 9: a text line no file defines
        {"register.lang",
         {"# wording under test", "lblMsisdn=&Mobile number:", "lblUserEmail=&Email:",
          "cmdQueryRegisterNext=&Mext >",
          "lblInfo21=This text line explains far more than one line of its narrow label can ever show to "
          "the person who reads it.",
          "lblMsisdn=&Number:", "lblNote=one line\nlblOther=and the next"}},
    });
    const KVPreviewOutcome outcome = Preview(folder);
    EXPECT_EQ(outcome.exitCode, 1u) << outcome.out;
    const std::string cfg = folder + "\\register.cfg:";
    const std::string lang = folder + "\\register.lang";
    for (const std::string& line : {
             cfg + "5: error: the e-mail field and its confirmation share one required bit: without the other "
                   "one Next stays disabled (id 9 required, id 16 not defined)",
             cfg + "5: error: with two form pages the e-mail field must stand on the query-register page, where "
                   "Next checks the address (page field 1)",
             cfg + "6: error: the controls overlap (lblUserName 44,150,176,164 and lblUserEmail 44,140,176,154 of "
                   "line 5)",
             cfg + "7: error: the control lies outside the window (the input of lblUserPassword 182,197,520,218",
             lang + ":4: warning: two controls of the query-register page share a mnemonic (Alt+M: "
                    "cmdQueryRegisterNext \"&Mext >\" and lblMsisdn \"&Mobile number:\" of " + lang + ":2)",
             lang + ":5: error: the text does not fit its control on the user-info page (lblInfo21",
             lang + ": warning: the key is not defined, the default is shown (lblInfo1 = \"\")",
             lang + ":6: warning: the key is defined again: the first definition wins (lblMsisdn (first on line 2))",
             lang + ":7: warning: a line feed without a carriage return joins two lines into one entry",
         })
        EXPECT_THAT(outcome.out, HasSubstr(line)) << outcome.out;
    // Keys the files define are no misses.
    EXPECT_THAT(outcome.out, Not(HasSubstr("(lblMsisdn = "))) << outcome.out;
    EXPECT_THAT(outcome.out, HasSubstr("; 5 pages drawn")) << outcome.out;
}

}  // namespace
