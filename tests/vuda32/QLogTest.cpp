#include <gtest/gtest.h>

#include <climits>
#include <iomanip>
#include <regex>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "tests/common/KVReadBack.h"
#include "tests/support/KVRaised.h"
#include "tests/support/KVTestEnv.h"
#include "vuda32/Exception/QException.h"
#include "vuda32/File/QFile.h"
#include "vuda32/File/QLog.h"

namespace {

class QLogTest : public ::testing::Test {
protected:
    std::string Base() const { return env_.TempFolder() + "KVRegister"; }
    std::string Path(int n) const { return Base() + std::to_string(n) + ".log"; }

    KVTestEnv env_;
    QLog log_;
};

// Strings and numbers skip the stream while its formatting is the entry's initial one; the
// line must not tell. Each entry starts with fresh formatting and needs a method and a log.
TEST_F(QLogTest, CommonInsertionsWriteWhatTheStreamWouldAndEachEntryStartsAfresh) {
    log_.Open(Path(0), false);
    log_.SetMask(0x1);
    log_.SetOutputs(QLog::OutputFile);
    const char* none = nullptr;
    std::ostringstream expected;
    QLogEntry(&log_, QLog::LevelError, "A::B") << std::hex << std::setfill('*') << std::setw(4) << 255;
    expected << "1 | A::B | **ff \n";
    log_.BeginEntry(QLog::LevelError, nullptr) << "anonymous" << std::setw(9);
    log_.EndEntry();
    QLogEntry(nullptr, QLog::LevelError, "A::B") << "no log";
    QLogEntry(&log_, QLog::LevelError, "A::B")
        << "n " << -42 << ' ' << 0u << ' ' << LLONG_MIN << ' ' << ULLONG_MAX << ' ' << -7L << ' '
        << 4000000000UL << ' ' << INT_MIN;
    expected << "1 | A::B | " << "n " << -42 << ' ' << 0u << ' ' << LLONG_MIN << ' ' << ULLONG_MAX
             << ' ' << -7L << ' ' << 4000000000UL << ' ' << INT_MIN << " \n";
    QLogEntry(&log_, QLog::LevelError, "A::B") << std::hex << -1 << ' ' << -1LL << std::dec << ' ' << 10;
    expected << "1 | A::B | ffffffff ffffffffffffffff 10 \n";
    QLogEntry(&log_, QLog::LevelError, "A::B")
        << std::setw(4) << "ab" << "|" << std::setw(3) << 7 << "|" << 8 << std::showpos << 9;
    expected << "1 | A::B |   ab|  7|8+9 \n";
    QLogEntry(&log_, QLog::LevelError, "A::B") << "before " << none << " after " << 1;
    expected << "1 | A::B | before  \n";
    QLogEntry(&log_, QLog::LevelError, "A::B") << "x" << std::string("a\0b", 3) << " c";
    expected << "1 | A::B | xa \n";
    QLogEntry(&log_, QLog::LevelError, "A::B") << std::string(300, 'y') << 5 << "";
    expected << "1 | A::B | " << std::string(300, 'y') << "5 \n";
    EXPECT_EQ(ReadBack(Path(0)), expected.str());
}

TEST_F(QLogTest, AHeldFileMovesTheLogToTheNextNumberAndAllTenHeldLeaveALogThatWritesNothing) {
    // Held open the way another running process would: no sharing at all.
    std::vector<QFile> held(QLog::kFileCount);
    auto hold = [&](int n) { held[n].Create(Path(n), GENERIC_WRITE, 0, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL); };
    hold(0);
    {
        QLog moved;
        ASSERT_TRUE(moved.OpenNumbered(Base()));
        EXPECT_EQ(moved.GetFileName(), Path(1));
    }
    for (int n = 1; n < QLog::kFileCount; ++n) hold(n);
    EXPECT_FALSE(log_.OpenNumbered(Base()));
    log_.Configure(5);
    EXPECT_NO_THROW(QLogEntry(&log_, QLog::LevelError, "A::B") << "lost");
    held.clear();
    EXPECT_EQ(ReadBack(Path(0)) + ReadBack(Path(9)), "");
}

// A pipe whose reader has gone makes every write fail, as a vanished network drive would.
TEST_F(QLogTest, AFailedWriteRaisesButLeavesTheLockFree) {
    const std::string pipe = "\\\\.\\pipe\\kvlogtest-" + std::to_string(GetCurrentProcessId());
    HANDLE reader = CreateNamedPipeA(pipe.c_str(), PIPE_ACCESS_INBOUND, PIPE_TYPE_BYTE, 1, 0,
                                     4096, 0, nullptr);
    ASSERT_NE(reader, INVALID_HANDLE_VALUE);
    log_.Open(pipe, false);
    log_.Configure(1);
    CloseHandle(reader);
    log_.BeginEntry(QLog::LevelError, "A::B") << "lost";
    const ErrExcepInfo failed = RaisedBy<QFileException>([&] { log_.EndEntry(); });
    EXPECT_EQ(failed.errorCode, 6003u);
    EXPECT_NE(failed.systemError, 0u);
    EXPECT_NO_THROW(QLogEntry(&log_, QLog::LevelError, "A::B") << "swallowed");
    // Another thread gets the lock; a lock left held would keep it waiting for ever.
    std::thread other([this] { QLogEntry(&log_, QLog::LevelError, "A::C") << "other"; });
    other.join();
}

// Threads never interleave their lines, and each line names the thread that wrote it.
TEST_F(QLogTest, ThreadsNeverInterleaveTheirLines) {
    log_.Open(Path(0), false);
    log_.Configure(5);
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([this] {
            char id[16];
            snprintf(id, sizeof id, "0x%08X", static_cast<unsigned>(GetCurrentThreadId()));
            for (int i = 0; i < 500; ++i)
                QLogEntry(&log_, QLog::LevelInfo, "T::Run") << "thread " << id << " entry " << i << " end";
        });
    for (auto& thread : threads) thread.join();
    const std::regex shape("4 \\| \\d{1,2}:\\d{1,2}:\\d{1,2}_\\d{1,3} \\| (0x[0-9A-F]{8}) \\| T::Run \\| "
                           "thread \\1 entry \\d+ end ");
    std::istringstream lines(ReadBack(Path(0)));
    int count = 0;
    for (std::string line; std::getline(lines, line); ++count) ASSERT_TRUE(std::regex_match(line, shape)) << line;
    EXPECT_EQ(count, 2000);
}

}  // namespace
