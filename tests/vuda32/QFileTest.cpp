#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <string>

#include "tests/support/KVRaised.h"
#include "tests/support/KVTestEnv.h"
#include "vuda32/File/QFile.h"
#include "vuda32/File/QMemBuf.h"

namespace {

const std::string kABZeroC("ab\0c", 4);

class QFileTest : public ::testing::Test {
protected:
    std::string Contents(const std::string& path) const {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    void OpenToRead(QFile& file, const std::string& path) const {
        file.Create(path, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL);
    }
    void OpenToWrite(QFile& file, const std::string& path) const {
        file.Create(path, GENERIC_WRITE, 0, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL);
    }

    KVTestEnv env;
};

TEST_F(QFileTest, WritesAndReadsEveryByteAsItIs) {
    const std::string path = env.TempFolder() + "bytes.bin";
    const std::string text("one\r\ntwo\0three\n", 15);
    QFile file;
    OpenToWrite(file, path);
    EXPECT_EQ(file.GetFileName(), path);
    uint32_t written = 0;
    EXPECT_EQ(file.WriteString(text, &written), 1);
    EXPECT_EQ(written, 15u);
    QMemBuf tail;
    ASSERT_EQ(tail.Alloc(2), 1);
    memcpy(tail.GetData(), "\n!", 2);
    EXPECT_EQ(file.Write(tail), 1);
    EXPECT_EQ(tail.Alloc(0), 1);  // a zero size holds no memory
    EXPECT_EQ(tail.GetData(), nullptr);
    EXPECT_EQ(tail.GetSize(), 0u);
    file.Close();
    EXPECT_FALSE(file.IsOpen());
    EXPECT_EQ(file.GetFileName(), "");
    EXPECT_EQ(Contents(path), text + "\n!");

    OpenToRead(file, path);
    EXPECT_EQ(file.GetSize(), 17u);
    QMemBuf buffer;
    ASSERT_EQ(buffer.Alloc(3), 1);  // replaced by a block of the file's size
    file.Read(buffer);
    EXPECT_EQ(std::string(buffer.GetData(), buffer.GetSize()), text + "\n!");

    // The handle stands at the end now: a block of the file's size cannot be filled.
    EXPECT_EQ(Where(RaisedBy<QFileException>([&] { file.Read(buffer); })),
              "QFileException 3001 Read:155 error 38 in .\\File\\QFile.cpp");
    EXPECT_EQ(buffer.GetData(), nullptr);
}

TEST_F(QFileTest, EmptyWritesReturnTwoAndEmptyReadsGiveEmptyText) {
    const std::string path = env.WriteFile("keep.txt", "keep");
    QFile file;
    OpenToWrite(file, path);
    uint32_t written = 99;
    EXPECT_EQ(file.WriteString("", &written), 2);
    EXPECT_EQ(written, 0u);
    EXPECT_EQ(file.WriteString("", nullptr), 2);
    const QMemBuf empty;
    EXPECT_EQ(file.Write(empty), 2);
    file.Close();
    EXPECT_EQ(Contents(path), "keep");

    // Reading an empty file gives empty text and a count of zero.
    const std::string emptyFile = env.WriteFile("empty.txt", "");
    for (const bool throughTemporary : {false, true}) {
        OpenToRead(file, emptyFile);
        std::string text = "old";
        uint32_t read = 99;
        file.ReadString(text, &read, throughTemporary);
        EXPECT_EQ(text, "") << throughTemporary;
        EXPECT_EQ(read, 0u) << throughTemporary;
    }
}

TEST_F(QFileTest, ReadStringKeepsZeroBytesUnlessReadThroughATemporary) {
    const std::string path = env.WriteFile("abzc.txt", kABZeroC);
    QFile file;
    std::string text;
    uint32_t read = 0;
    OpenToRead(file, path);
    file.ReadString(text, &read, false);
    EXPECT_EQ(text, kABZeroC);
    EXPECT_EQ(read, 4u);

    file.Close();
    OpenToRead(file, path);
    file.ReadString(text, &read, true);
    EXPECT_EQ(text, "ab");
    EXPECT_EQ(read, 4u);

    // Without a zero byte the text ends where the file does.
    file.Close();
    OpenToRead(file, env.WriteFile("nozero.txt", "xyz"));
    file.ReadString(text, nullptr, true);
    EXPECT_EQ(text, "xyz");
}

TEST_F(QFileTest, FailuresRaiseWithTheirPlaceAndKeepNoHalfResultsNorHandles) {
    const std::string path = env.WriteFile("data.txt", "abcd");
    QFile file;
    OpenToWrite(file, path);
    QMemBuf buffer;
    EXPECT_EQ(Where(RaisedBy<QFileException>([&] { file.Read(buffer); })),
              "QFileException 3001 Read:155 error 5 in .\\File\\QFile.cpp");
    EXPECT_EQ(buffer.GetData(), nullptr);
    EXPECT_EQ(buffer.GetSize(), 0u);
    for (const bool throughTemporary : {false, true}) {
        std::string text = "old";
        EXPECT_EQ(Where(RaisedBy<QFileException>(
                      [&] { file.ReadString(text, nullptr, throughTemporary); })),
                  "QFileException 3001 ReadString:198 error 5 in .\\File\\QFile.cpp");
        EXPECT_EQ(text, "") << throughTemporary;
    }

    file.Close();
    OpenToRead(file, path);
    ASSERT_EQ(buffer.Alloc(1), 1);
    EXPECT_EQ(Where(RaisedBy<QFileException>([&] { file.Write(buffer); })),
              "QFileException 3002 Write:252 error 5 in .\\File\\QFile.cpp");
    EXPECT_EQ(Where(RaisedBy<QFileException>([&] { file.WriteString("x", nullptr); })),
              "QFileException 3002 WriteString:289 error 5 in .\\File\\QFile.cpp");
    file.Close();
    EXPECT_EQ(Contents(path), "abcd");

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

TEST_F(QFileTest, OwnerReleasesItsHandle) {
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
}

}  // namespace
