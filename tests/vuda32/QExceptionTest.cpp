#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "vuda32/Exception/QErrorReport.h"
#include "vuda32/Exception/QException.h"

namespace {

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

}  // namespace

// Neighbouring blocks of codes never leak into each other.
TEST(QExceptionTableTest, EachClassHoldsOnlyItsOwnCodes) {
    EXPECT_STREQ(QGenException::ErrorText(3001), kErrorNotInList);
    EXPECT_STREQ(QWinException::ErrorText(1501), kErrorNotInList);
    EXPECT_STREQ(QFileException::ErrorText(3502), kErrorNotInList);
    EXPECT_STREQ(QWinException::ErrorText(14006), kErrorNotInList);
    EXPECT_STREQ(QGenException::ErrorText(0), kErrorNotInList);
}

TEST(QExceptionTableTest, VirtualLookupFollowsTheObjectsClass) {
    const QFileException file("f", "m", 1, 3001, 0);
    const QGenException& asGeneral = file;
    EXPECT_EQ(asGeneral.GetErrorText(3001), "Error reading the file.");
    EXPECT_EQ(asGeneral.GetErrorText(1501), kErrorNotInList);
}

TEST(QExceptionTraceTest, ConstructorsRecordTheRaisingSite) {
    const QWinException e(".\\Window\\QWinBase.cpp", "InternalCreate", 1134, 3502, 1407);
    ASSERT_EQ(e.GetTrace().size(), 1u);
    const ErrExcepInfo& info = e.GetFirstInfo();
    EXPECT_EQ(info.typeName, "QWinException");
    EXPECT_EQ(info.errorCode, 3502u);
    EXPECT_EQ(info.systemError, 1407u);
    EXPECT_EQ(info.description, QWinException::ErrorText(3502));
    EXPECT_EQ(info.sourceFile, ".\\Window\\QWinBase.cpp");
    EXPECT_EQ(info.method, "InternalCreate");
    EXPECT_EQ(info.line, 1134);
    EXPECT_TRUE(info.extraText.empty());

    const QFileException open(".\\File\\QFile.cpp", "Open", 80, 3000, 2, "c:\\missing.lang");
    EXPECT_EQ(open.GetFirstInfo().extraText, "c:\\missing.lang");
    EXPECT_EQ(open.GetFirstInfo().typeName, "QFileException");

    const QException plain("a.cpp", "Run", 5, "own text", 7, 9);
    EXPECT_EQ(plain.GetFirstInfo().typeName, "QException");
    EXPECT_EQ(plain.GetFirstInfo().description, "own text");
}

TEST(QExceptionTraceTest, RepeatedFileAndMethodAddNothing) {
    QGenException e(".\\System\\QRegEdit.cpp", "GetValue", 10, 1503, 2);
    e.AddInfo(".\\KVRegistry.cpp", "GetInstallRoot", 20, "", 0, 0);
    e.AddInfo(".\\KVRegistry.cpp", "GetInstallRoot", 21, "", 0, 0);
    ASSERT_EQ(e.GetTrace().size(), 2u);
    EXPECT_EQ(e.GetLastInfo().line, 20);
    EXPECT_EQ(e.GetLastInfo().typeName, "QException");
    EXPECT_EQ(e.GetLastInfo().errorCode, 0u);

    // Same file, another method: a new place. Case matters.
    e.AddInfo(".\\KVRegistry.cpp", "GetLogLevel", 30, "", 0, 0);
    e.AddInfo(".\\kvregistry.cpp", "GetLogLevel", 31, "", 0, 0);
    EXPECT_EQ(e.GetTrace().size(), 4u);
    // A method repeated after another one is a new place again.
    e.AddInfo(".\\KVRegistry.cpp", "GetInstallRoot", 40, "", 0, 0);
    EXPECT_EQ(e.GetTrace().size(), 5u);
}

TEST(QExceptionTraceTest, ElevenPlacesAndTheReportStillShowsTheFirst) {
    QWinException e(".\\Window\\QWinBase.cpp", "InternalCreate", 1134, 3502, 1407);
    for (int i = 0; i < 10; ++i) e.AddInfo("outer.cpp", "Method" + std::to_string(i), i, "", 0, 0);
    EXPECT_EQ(e.GetTrace().size(), 11u);
    EXPECT_EQ(e.GetFirstInfo().method, "InternalCreate");
    EXPECT_EQ(e.GetLastInfo().method, "Method9");

    // Thrown by value and caught by reference, the trace travels whole.
    try {
        throw e;
    } catch (const QException& caught) {
        EXPECT_EQ(caught.GetTrace().size(), 11u);
        EXPECT_NE(dynamic_cast<const QWinException*>(&caught), nullptr);
    }
}

TEST(QErrorReportTest, WindowCreationFailureLineByLine) {
    const QWinException e(".\\Window\\QWinBase.cpp", "InternalCreate", 1134, 3502, 1407);
    const QErrorReport r =
        FormatErrorReport(e.GetFirstInfo(), QAppInfo(), "Cannot find window class.\r\n");
    EXPECT_EQ(r.caption, "TEST APP - Error !");
    const std::vector<std::string> expected = {
        "This is the standard disclamer.",
        "Application: TEST APP",
        "Application address: 40000",
        "Version: 11.22.33",
        "Exception type: QWinException",
        "Error Code: 0xdae",
        "Error Description: Failed to create window. CreateWindowEx or CreateMDIWindow returned NULL.",
        "Win32 Error Code: 0x0000057f",
        "Win32 Error description: Cannot find window class.\r",
        "",
        "File: .\\Window\\QWinBase.cpp",
        "Method: InternalCreate",
        "Line: 1134",
    };
    EXPECT_EQ(Lines(r.body), expected);
    EXPECT_NE(r.body.back(), '\n');
}

TEST(QErrorReportTest, NoSystemTextAndZeroCodes) {
    const QException e("a.cpp", "Run", 0, "x", 0, 0);
    const QErrorReport r = FormatErrorReport(e.GetFirstInfo(), QAppInfo(), "");
    const std::vector<std::string> lines = Lines(r.body);
    ASSERT_EQ(lines.size(), 12u);
    EXPECT_EQ(lines[5], "Error Code: 0x0");
    EXPECT_EQ(lines[7], "Win32 Error Code: 0x00000000");
    EXPECT_EQ(lines[8], "Win32 Error description: No Error Message for this Error!");
}
