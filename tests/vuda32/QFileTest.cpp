#include <gtest/gtest.h>

#include <string>

#include "tests/common/KVReadBack.h"
#include "tests/support/KVRaised.h"
#include "tests/support/KVTestEnv.h"
#include "vuda32/File/QFile.h"

namespace {

class QFileTest : public ::testing::Test {
protected:
    void OpenToRead(QFile& file, const std::string& path) const {
        file.Create(path, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL);
    }

    KVTestEnv env;
};

TEST_F(QFileTest, FailuresRaiseWithTheirPlaceAndKeepNoHalfResultsNorHandles) {
    const std::string path = env.WriteFile("data.txt", "abcd");
    QFile file;
    file.Create(path, GENERIC_WRITE, 0, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL);
    std::string text = "old";
    EXPECT_EQ(Where(RaisedBy<QFileException>([&] { file.ReadString(text, nullptr, false); })),
              "QFileException 3001 ReadString:198 error 5 in .\\File\\QFile.cpp");
    EXPECT_EQ(text, "");

    file.Close();
    OpenToRead(file, path);
    EXPECT_EQ(Where(RaisedBy<QFileException>([&] { file.WriteString("x", nullptr); })),
              "QFileException 3002 WriteString:289 error 5 in .\\File\\QFile.cpp");
    file.Close();
    EXPECT_EQ(ReadBack(path), "abcd");

    // Size and close raise when the handle is gone.
    OpenToRead(file, env.WriteFile("gone.txt", "abc"));
    ASSERT_TRUE(CloseHandle(file.GetHandle()));  // behind the wrapper's back
    EXPECT_EQ(Where(RaisedBy<QFileException>([&] { file.GetSize(); })),
              "QFileException 3004 GetSize:121 error 6 in .\\File\\QFile.cpp");
    EXPECT_EQ(Where(RaisedBy<QFileException>([&] { file.Close(); })),
              "QFileException 3003 Close:64 error 6 in .\\File\\QFile.cpp");
    EXPECT_FALSE(file.IsOpen());

    // A failed open raises with the file's name and holds no handle.
    const std::string missing = env.TempFolder() + "missing.txt";
    const ErrExcepInfo info = RaisedBy<QFileException>([&] { OpenToRead(file, missing); });
    EXPECT_EQ(Where(info), "QFileException 3000 Create:89 error 2 in .\\File\\QFile.cpp");
    EXPECT_EQ(info.description, "Couldn't open the file.");
    EXPECT_EQ(info.extraText, missing);
    EXPECT_FALSE(file.IsOpen());
}

TEST_F(QFileTest, OwnerReleasesItsHandleAndAnEmptyFileReadsAsNothing) {
    // Wine counts no process handles, so a leak shows as a handle that still works or as a
    // file that cannot be opened exclusively.
    const std::string path = env.WriteFile("owned.txt", "abc");
    HANDLE last = nullptr;
    {
        QFile file;
        file.Create(path, GENERIC_READ, 0, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL);
        // Opening again without closing first must not keep the first handle.
        file.Create(path, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL);
        last = file.GetHandle();
    }
    DWORD flags = 0;
    EXPECT_FALSE(GetHandleInformation(last, &flags));
    QFile exclusive;
    exclusive.Create(path, GENERIC_READ | GENERIC_WRITE, 0, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL);

    // An empty file reads as empty text, leaving nothing of what the string held.
    OpenToRead(exclusive, env.WriteFile("empty.txt", ""));
    std::string text = "old";
    exclusive.ReadString(text, nullptr, false);
    EXPECT_EQ(text, "");
}

}  // namespace
