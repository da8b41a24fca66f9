#include <gtest/gtest.h>

#include <iomanip>
#include <regex>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "tests/common/KVReadBack.h"
#include "tests/support/KVTestEnv.h"
#include "vuda32/Exception/QException.h"
#include "vuda32/File/QLog.h"

namespace {

std::vector<std::string> LinesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

// Holds a file open the way another running process would: no sharing at all.
class HeldFile {
public:
    explicit HeldFile(const std::string& path)
        : handle_(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr)) {}
    ~HeldFile() {
        if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
    }
    HeldFile(const HeldFile&) = delete;
    HeldFile& operator=(const HeldFile&) = delete;
    bool Held() const { return handle_ != INVALID_HANDLE_VALUE; }

private:
    HANDLE handle_;
};

class QLogTest : public ::testing::Test {
protected:
    std::string Base() const { return env_.TempFolder() + "KVRegister"; }
    std::string Path(int n) const { return Base() + std::to_string(n) + ".log"; }

    KVTestEnv env_;
};

TEST_F(QLogTest, WritesNothingUntilConfigured) {
    QLog log;
    log.Open(Path(0), false);
    QLogEntry(&log, QLog::LevelError, "A::B") << "before";
    EXPECT_EQ(ReadBack(Path(0)), "");
    log.SetMask(0x1);
    log.SetOutputs(QLog::OutputFile);
    QLogEntry(&log, QLog::LevelError, "A::B") << "after " << 42;
    EXPECT_EQ(ReadBack(Path(0)), "1 | A::B | after 42 \n");
}

TEST_F(QLogTest, ConfiguredLinesCarryTimeThreadAndMethod) {
    QLog log;
    log.Open(Path(0), false);
    log.Configure(1);
    QLogEntry(&log, QLog::LevelError, "KVRegisterModel::NextPage") << "page " << 2;
    QLogEntry(&log, QLog::LevelInfo, "KVRegisterModel::NextPage") << "filtered out";
    QLogEntry(&log, QLog::LevelError, "A::B");
    const std::vector<std::string> lines = LinesOf(ReadBack(Path(0)));
    ASSERT_EQ(lines.size(), 2u);
    char thread[16];
    snprintf(thread, sizeof thread, "0x%08X", static_cast<unsigned>(GetCurrentThreadId()));
    const std::regex shape("1 \\| \\d{1,2}:\\d{1,2}:\\d{1,2}_\\d{1,3} \\| " + std::string(thread) +
                           " \\| KVRegisterModel::NextPage \\| page 2 ");
    EXPECT_TRUE(std::regex_match(lines[0], shape)) << lines[0];
    EXPECT_EQ(lines[1].substr(lines[1].size() - 9), " A::B |  ");
}

TEST_F(QLogTest, LevelsSelectWhatIsWritten) {
    const struct {
        uint32_t logLevel;
        bool error;
        bool info;
    } cases[] = {{0, false, false}, {1, true, false}, {2, true, true}, {3, true, true},
                 {4, true, false},  {5, true, true},  {10, true, false}};
    for (const auto& c : cases) {
        QLog log;
        log.Open(Path(0), false);
        log.Configure(c.logLevel);
        QLogEntry(&log, QLog::LevelError, "A::Error") << "e";
        QLogEntry(&log, QLog::LevelInfo, "A::Info") << "i";
        const std::string text = ReadBack(Path(0));
        EXPECT_EQ(text.find("A::Error") != std::string::npos, c.error) << c.logLevel;
        EXPECT_EQ(text.find("A::Info") != std::string::npos, c.info) << c.logLevel;
    }
}

TEST_F(QLogTest, OpeningEmptiesTheFile) {
    env_.WriteFile("KVRegister0.log", "yesterday's entries\n");
    QLog log;
    ASSERT_TRUE(log.OpenNumbered(Base()));
    log.Configure(0);
    EXPECT_EQ(log.GetFileName(), Path(0));
    EXPECT_EQ(ReadBack(Path(0)), "");
}

TEST_F(QLogTest, AHeldFileMovesTheLogToTheNextNumber) {
    HeldFile zero(Path(0));
    ASSERT_TRUE(zero.Held());
    QLog log;
    ASSERT_TRUE(log.OpenNumbered(Base()));
    EXPECT_EQ(log.GetFileName(), Path(1));
}

TEST_F(QLogTest, AllTenHeldLeavesALogThatWritesNothing) {
    std::vector<std::unique_ptr<HeldFile>> held;
    for (int n = 0; n < QLog::kFileCount; ++n) {
        held.push_back(std::make_unique<HeldFile>(Path(n)));
        ASSERT_TRUE(held.back()->Held());
    }
    QLog log;
    EXPECT_FALSE(log.OpenNumbered(Base()));
    EXPECT_FALSE(log.IsOpen());
    log.SetMask(0xFFFFFFFF);
    log.SetOutputs(QLog::OutputFile);
    EXPECT_NO_THROW(QLogEntry(&log, QLog::LevelError, "A::B") << "lost");
    held.clear();
    EXPECT_EQ(ReadBack(Path(0)), "");
    EXPECT_EQ(ReadBack(Path(9)), "");
}

TEST_F(QLogTest, AFolderThatDoesNotExistRaisesTheLogCode) {
    QLog log;
    try {
        log.Open(env_.TempFolder() + "no\\such\\folder\\KVRegister0.log", false);
        ADD_FAILURE() << "no exception";
    } catch (const QFileException& e) {
        EXPECT_EQ(e.GetFirstInfo().errorCode, 6001u);
        EXPECT_NE(e.GetFirstInfo().systemError, 0u);
    }
    EXPECT_FALSE(log.IsOpen());
}

TEST_F(QLogTest, EachEntryStartsWithFreshFormatting) {
    QLog log;
    log.Open(Path(0), false);
    log.SetMask(0x1);
    log.SetOutputs(QLog::OutputFile);
    QLogEntry(&log, QLog::LevelError, "A::B") << std::hex << std::setfill('*') << std::setw(4) << 255;
    QLogEntry(&log, QLog::LevelError, "A::B") << std::setw(4) << 255;
    EXPECT_EQ(ReadBack(Path(0)), "1 | A::B | **ff \n1 | A::B |  255 \n");
}

TEST_F(QLogTest, EntriesWithoutMethodOrLogAreDropped) {
    QLog log;
    log.Open(Path(0), false);
    log.SetMask(0x1);
    log.SetOutputs(QLog::OutputFile);
    log.BeginEntry(QLog::LevelError, nullptr) << "anonymous";
    log.EndEntry();
    QLogEntry(nullptr, QLog::LevelError, "A::B") << "no log";
    QLogEntry(&log, QLog::LevelError, "A::B") << "kept";
    // The dropped text does not leak into the next entry.
    EXPECT_EQ(ReadBack(Path(0)), "1 | A::B | kept \n");
}

TEST_F(QLogTest, ThreadsNeverInterleaveTheirLines) {
    QLog log;
    log.Open(Path(0), false);
    log.Configure(5);
    constexpr int kThreads = 4;
    constexpr int kEntries = 500;
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t)
        threads.emplace_back([&log, t] {
            for (int i = 0; i < kEntries; ++i)
                QLogEntry(&log, QLog::LevelInfo, "T::Run") << "thread " << t << " entry " << i << " end";
        });
    for (auto& thread : threads) thread.join();
    const std::vector<std::string> lines = LinesOf(ReadBack(Path(0)));
    ASSERT_EQ(lines.size(), static_cast<size_t>(kThreads * kEntries));
    const std::regex shape("4 \\| [0-9:_]+ \\| 0x[0-9A-F]{8} \\| T::Run \\| thread \\d entry \\d+ end ");
    for (const std::string& line : lines) ASSERT_TRUE(std::regex_match(line, shape)) << line;
}

}  // namespace
