// KVRegisterPreview.exe at the display's scale. The suite runs with the others at 96 DPI and
// again at 120, 144 and 192 DPI in Wine prefixes of their own; KV_EXPECT_DPI names the
// resolution a run must find.
#include <gtest/gtest.h>
#include <gmock/gmock.h>

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

#include "tests/common/KVReadBack.h"
#include "tests/preview/KVPreviewRun.h"
#include "tests/support/KVDisplayDpi.h"
#include "tests/support/KVTestEnv.h"

namespace {

using ::testing::HasSubstr;
using ::testing::Not;

const char* const kPictures[] = {"1-query-register.png", "2-user-info.png", "3-pending.png", "4-validate.png",
                                 "5-register-info.png"};
// Norwegian for the mobile number label: one line of 132 pixels in Tahoma at 96 DPI, but
// its letters grow by more than half at 144 DPI, so there it wraps and its label, one line
// high, cuts the second line off.
const char kTightLabel[] = "mobiltelefon for sms-svar:";

uint32_t BigEndian(const std::string& bytes, size_t at) {
    uint32_t value = 0;
    for (size_t i = at; i < at + 4 && i < bytes.size(); ++i) value = value << 8 | static_cast<unsigned char>(bytes[i]);
    return value;
}

class KVPreviewDpiTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(KVDisplayAtExpectedDpi(dpi_)); }

    KVPreviewOutcome Preview(const std::vector<std::string>& args) { return KVRunPreview(args, env_.TempFolder()); }

    std::string Output() const { return env_.TempFolder() + "pages"; }

    KVTestEnv env_;
    int dpi_ = 96;
};

TEST_F(KVPreviewDpiTest, TheShippedInstallationDrawsFivePagesAtTheDisplaysScale) {
    const KVPreviewOutcome outcome = Preview({"--dpi", std::to_string(dpi_), KV_SHIPPED_ROOT, Output()});
    EXPECT_EQ(outcome.exitCode, 0u) << outcome.out;
    EXPECT_THAT(outcome.out, HasSubstr("0 errors, 0 warnings; 5 pages drawn")) << outcome.out;
    for (const char* name : kPictures) {
        SCOPED_TRACE(name);
        const std::string png = ReadBack(Output() + "\\" + name);
        ASSERT_GT(png.size(), 24u);
        EXPECT_EQ(png.substr(1, 3), "PNG");
        // The whole window at its register.cfg size, scaled.
        EXPECT_EQ(BigEndian(png, 16), static_cast<uint32_t>(MulDiv(460, dpi_, 96)));
        EXPECT_EQ(BigEndian(png, 20), static_cast<uint32_t>(MulDiv(350, dpi_, 96)));
    }
}

TEST_F(KVPreviewDpiTest, ADisplayAtAnotherResolutionOrABadMergeFileStopsThePreview) {
    const std::string other = dpi_ == 144 ? "192" : "144";
    const KVPreviewOutcome outcome = Preview({"--dpi", other, KV_SHIPPED_ROOT, Output()});
    EXPECT_EQ(outcome.exitCode, 2u) << outcome.out;
    EXPECT_THAT(outcome.out, HasSubstr("the display runs at " + std::to_string(dpi_) + " DPI, not at " + other))
        << outcome.out;
    // So does a report to merge that no preview saved.
    const std::string saved = env_.WriteFile("not-saved.txt", "register.lang:7: warning: written by hand\n");
    const KVPreviewOutcome merge = Preview({"--merge", saved, KV_SHIPPED_ROOT, Output()});
    EXPECT_EQ(merge.exitCode, 2u) << merge.out;
    EXPECT_THAT(merge.out, HasSubstr("holds no saved problems")) << merge.out;
}

// What tools/preview does by default: the texts checked at 144 DPI as warnings, saved, and
// merged into the report of the preview at 96.
TEST_F(KVPreviewDpiTest, ALabelThatFitsOnlyAt96IsAWarningWithItsLineAt144) {
    if (dpi_ != 96 && dpi_ != 144) GTEST_SKIP() << "the label is chosen for 96 and 144 DPI";
    // The shipped installation with register.lang's mobile number label replaced.
    const std::string folder = env_.TempFolder() + "installation";
    CreateDirectoryA(folder.c_str(), nullptr);
    for (const char* name : {"register.cfg", "registercompany.lang"})
        CopyFileA((std::string(KV_SHIPPED_ROOT) + "\\" + name).c_str(), (folder + "\\" + name).c_str(), FALSE);
    std::string bytes = ReadBack(std::string(KV_SHIPPED_ROOT) + "\\register.lang");
    const size_t start = bytes.find("\nlblMsisdn=") + 1;
    ASSERT_NE(0u, start) << "the shipped register.lang has no lblMsisdn";
    const size_t line = 1 + std::count(bytes.begin(), bytes.begin() + start, '\n');
    bytes.replace(start, bytes.find("\r\n", start) - start, std::string("lblMsisdn=") + kTightLabel);
    std::ofstream(folder + "\\register.lang", std::ios::binary) << bytes;
    const std::string lang = folder + "\\register.lang:" + std::to_string(line) + ": ";
    const std::string problem = "the text does not fit its control on the query-register page";
    if (dpi_ == 96) {
        const KVPreviewOutcome outcome = Preview({folder, Output()});
        EXPECT_EQ(outcome.exitCode, 0u) << outcome.out;
        EXPECT_THAT(outcome.out, Not(HasSubstr(problem))) << outcome.out;
    } else {
        const std::string saved = env_.TempFolder() + "fit.txt";
        const KVPreviewOutcome fit = Preview({"--dpi", "144", "--fit-only", saved, folder, Output()});
        EXPECT_EQ(fit.exitCode, 0u) << fit.out;
        const std::string warning = lang + "warning: " + problem + " at 144 DPI (lblMsisdn \"" + kTightLabel + "\"";
        EXPECT_THAT(fit.out, HasSubstr(warning)) << fit.out;
        EXPECT_THAT(fit.out, HasSubstr("0 errors, 1 warning; texts checked at 144 DPI")) << fit.out;
        EXPECT_EQ(GetFileAttributesA((Output() + "\\1-query-register.png").c_str()), INVALID_FILE_ATTRIBUTES)
            << "only the texts were to be checked";

        // Joined to a report of another process, which counts it.
        const KVPreviewOutcome merged = Preview({"--merge", saved, KV_SHIPPED_ROOT, Output()});
        EXPECT_EQ(merged.exitCode, 0u) << merged.out;
        EXPECT_THAT(merged.out, HasSubstr(warning)) << merged.out;
        EXPECT_THAT(merged.out, HasSubstr("0 errors, 1 warning; 5 pages drawn")) << merged.out;

        // Previewed at 144 itself, it is an error.
        const KVPreviewOutcome at144 = Preview({"--dpi", "144", folder, Output()});
        EXPECT_EQ(at144.exitCode, 1u) << at144.out;
        EXPECT_THAT(at144.out, HasSubstr(lang + "error: " + problem + " (lblMsisdn")) << at144.out;
    }
}

}  // namespace
