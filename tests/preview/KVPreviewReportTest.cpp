// The preview's report handed from one process to another: what Save writes, Load reads back
// to the same report lines, whatever the texts hold; anything else is refused whole.
#include "preview/KVPreviewReport.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

namespace {

TEST(KVPreviewReportTest, SavedProblemsLoadBackToTheSameReport) {
    KVPreviewReport saved;
    saved.Error("Z:\\inst\\register.cfg", 4, "the control lies outside the window", "lblMsisdn 1,2,3,4");
    saved.Warning("C:\\a\\b\\register.lang", 12, "text\twith a tab",
                  "lblInfo1 \"line one\\r\\nline two\" needs 1x2 px, back\\slash \\t");
    saved.Warning("file with\nline feed and\rreturn", 0, "", "");

    KVPreviewReport loaded;
    loaded.Warning("other.lang", 1, "found here first", "x");
    ASSERT_TRUE(loaded.Load(saved.Save()));
    ASSERT_EQ(4u, loaded.Problems().size());
    for (size_t i = 0; i < 3; ++i) EXPECT_EQ(saved.Problems()[i].Format(), loaded.Problems()[i + 1].Format());
    EXPECT_EQ(1u, loaded.Errors());
    EXPECT_EQ(3u, loaded.Warnings());
    // A problem both found is counted once.
    ASSERT_TRUE(loaded.Load(saved.Save()));
    EXPECT_EQ(4u, loaded.Problems().size());
    EXPECT_TRUE(KVPreviewReport().Load(""));
}

TEST(KVPreviewReportTest, TextsThatAreNoSavedReportAddNothing) {
    KVPreviewReport good;
    good.Warning("register.lang", 3, "the key is defined again", "lblMsisdn");
    const std::string line = good.Save();
    for (const std::string& bad : std::initializer_list<std::string>{
             std::string("register.lang:3: warning: the key is defined again (lblMsisdn)\n"),
             line.substr(0, line.size() - 1),                    // no line end
             "note\tregister.lang\t3\ttext\tvalue\n",             // unknown severity
             "warning\tregister.lang\tthree\ttext\tvalue\n",      // line not a number
             "warning\tregister.lang\t-3\ttext\tvalue\n",
             "warning\tregister.lang\t99999999999\ttext\tvalue\n",
             "warning\tregister.lang\t3\ttext\n",                 // a field missing
             "warning\tregister.lang\t3\ttext\tvalue\textra\n",
             "warning\tregister.lang\t3\tbad \\q escape\tvalue\n",
             "warning\tregister.lang\t3\ttext\tends in \\\n",
             line + "garbage\n",                                  // a good line, then a bad one
         }) {
        KVPreviewReport report;
        EXPECT_FALSE(report.Load(bad)) << bad;
        EXPECT_TRUE(report.Problems().empty()) << bad;
    }
}

}  // namespace
