#include <gtest/gtest.h>

#ifdef _WIN32
#include <windows.h>
#endif

#include <string>

#include "tests/support/KVRaised.h"
#include "vuda32/Exception/QErrorReport.h"
#include "vuda32/Exception/QException.h"

// Neighbouring blocks of codes never leak into each other.
TEST(QExceptionTableTest, EachClassHoldsOnlyItsOwnCodes) {
    EXPECT_STREQ(QGenException::ErrorText(3001), kErrorNotInList);
    EXPECT_STREQ(QWinException::ErrorText(1501), kErrorNotInList);
    EXPECT_STREQ(QFileException::ErrorText(3502), kErrorNotInList);
    EXPECT_STREQ(QWinException::ErrorText(14006), kErrorNotInList);
    EXPECT_STREQ(QGenException::ErrorText(0), kErrorNotInList);
    EXPECT_STREQ(QFileException::ErrorText(3001), "Error reading the file.");
}

TEST(QExceptionTraceTest, ConstructorsRecordTheRaisingSite) {
    const QWinException e(".\\Window\\QWinBase.cpp", "InternalCreate", 1134, 3502, 1407);
    ASSERT_EQ(e.GetTrace().size(), 1u);
    EXPECT_EQ(Where(e.GetFirstInfo()),
              "QWinException 3502 InternalCreate:1134 error 1407 in .\\Window\\QWinBase.cpp");
    EXPECT_EQ(e.GetFirstInfo().description, QWinException::ErrorText(3502));
    EXPECT_TRUE(e.GetFirstInfo().extraText.empty());
    const QFileException open(".\\File\\QFile.cpp", "Open", 80, 3000, 2, "c:\\missing.lang");
    EXPECT_EQ(open.GetFirstInfo().extraText, "c:\\missing.lang");
    const QException plain("a.cpp", "Run", 5, "own text", 7, 9);
    EXPECT_EQ(Where(plain.GetFirstInfo()), "QException 7 Run:5 error 9 in a.cpp");
    EXPECT_EQ(plain.GetFirstInfo().description, "own text");
#ifdef _WIN32
    // The system's own text for a system error, as the country-code wrapper logs it.
    const std::string text = SystemErrorText(ERROR_CANNOT_FIND_WND_CLASS);
    ASSERT_GT(text.size(), 2u);
    EXPECT_EQ(text.substr(text.size() - 2), "\r\n");
    EXPECT_TRUE(SystemErrorText(0x2FFFFFFF).empty());
#endif
}

// A place repeating the last file and method adds nothing; a trace of eleven places travels
// whole when thrown by value and caught by reference.
TEST(QExceptionTraceTest, RepeatedPlacesAddNothingAndTheTraceTravelsWhole) {
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
    for (int i = 0; i < 6; ++i) e.AddInfo("outer.cpp", "Method" + std::to_string(i), i, "", 0, 0);
    EXPECT_EQ(e.GetTrace().size(), 11u);
    try {
        throw e;
    } catch (const QException& caught) {
        EXPECT_EQ(caught.GetTrace().size(), 11u);
        EXPECT_EQ(caught.GetFirstInfo().method, "GetValue");
        EXPECT_EQ(caught.GetLastInfo().method, "Method5");
        EXPECT_NE(dynamic_cast<const QGenException*>(&caught), nullptr);
    }
}
