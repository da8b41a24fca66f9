// Speed of the language table and the log, each against a baseline measured in the same run.
// Not a test: run it by hand (see docs/benchmarks.md) and compare the printed ratios.
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "common/KVLanguageFile.h"

#ifdef _WIN32
#include <windows.h>

#include "common/KVLanguageTable.h"
#include "common/KVRegistry.h"
#include "vuda32/File/QLog.h"
#endif

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point since) {
    return std::chrono::duration<double>(Clock::now() - since).count();
}

// Repeats `work` until about `budget` seconds have passed; returns runs per second.
template <typename Work>
double RunsPerSecond(Work work, double budget = 1.0) {
    long runs = 0;
    const auto start = Clock::now();
    double elapsed = 0;
    do {
        work();
        ++runs;
        elapsed = Seconds(start);
    } while (elapsed < budget);
    return runs / elapsed;
}

std::string Key(int i) { return "Message.Entry" + std::to_string(i); }

std::string EntriesFile(int count) {
    std::string file;
    for (int i = 0; i < count; ++i)
        file += Key(i) + "=The &text of entry " + std::to_string(i) +
                ",<newline>as a translator writes it.\r\n";
    return file;
}

// Lines of growing length, up to 1 MB in all.
std::string MegabyteFile() {
    std::string file;
    for (int i = 0; file.size() < 1024 * 1024; ++i)
        file += "key" + std::to_string(i) + "=" + std::string(static_cast<size_t>(20 + i % 400), 'x') +
                "\r\n";
    return file;
}

void ReportParse(const char* what, const std::string& file) {
    size_t entries = 0;
    const double perSecond = RunsPerSecond([&] {
        LanguageEntries table;
        entries = ParseLanguageFile(file, table);
    });
    std::printf("parse %-22s %8zu bytes %6zu entries: %9.1f files/s  %7.1f MB/s\n", what,
                file.size(), entries, perSecond, perSecond * file.size() / (1024.0 * 1024.0));
}

#ifdef _WIN32
std::string BenchFolder() {
    char temp[MAX_PATH];
    const DWORD n = GetTempPathA(MAX_PATH, temp);
    std::string folder = (n > 0 && n < MAX_PATH) ? std::string(temp, n) : std::string(".\\");
    folder += "kvbench-" + std::to_string(GetCurrentProcessId()) + "\\";
    CreateDirectoryA(folder.c_str(), nullptr);
    return folder;
}

void ReportLookups(const std::string& folder) {
    const std::string path = folder + "register.lang";
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    const std::string bytes = EntriesFile(10000);
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);

    // A key path nobody has: the missing-entry log stays off.
    KVLanguageTable table("Software\\KVBench\\none");
    table.Load(path);
    std::vector<std::string> keys;
    for (int i = 0; i < 10000; i += 7) keys.push_back(Key(i));
    size_t next = 0;
    const double found = RunsPerSecond([&] {
        table.GetText(keys[next], "default");
        next = (next + 1) % keys.size();
    });
    const double filled = RunsPerSecond([&] {
        table.GetText(keys[next], {{"msisdn", "+4712345678"}, {"email", "a@b.no"}}, "default");
        next = (next + 1) % keys.size();
    });
    std::printf("GetText of 10,000 entries:         %10.0f look-ups/s\n", found);
    std::printf("GetText with two placeholders:     %10.0f look-ups/s\n", filled);
    DeleteFileA(path.c_str());
}

// The log against the least any log could do: one WriteFile per line of the same length.
void ReportLog(const std::string& folder) {
    constexpr int kEntries = 200000;
    const std::string base = folder + "KVBench";
    QLog log;
    if (!log.OpenNumbered(base)) {
        std::printf("log: could not create %s0.log\n", base.c_str());
        return;
    }
    log.Configure(5);
    const auto logStart = Clock::now();
    for (int i = 0; i < kEntries; ++i)
        QLogEntry(&log, QLog::LevelInfo, "KVRegisterModel::NextPage") << "page " << (i % 5 + 1) << " shown";
    const double logSeconds = Seconds(logStart);
    const std::string sample = "4 | 12:34:56_789 | 0x00000123 | KVRegisterModel::NextPage | page 3 shown \n";
    log.CloseFile();

    HANDLE file = CreateFileA(log.GetFileName().c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                              CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    const auto bareStart = Clock::now();
    for (int i = 0; i < kEntries; ++i) {
        DWORD written = 0;
        WriteFile(file, sample.data(), static_cast<DWORD>(sample.size()), &written, nullptr);
    }
    const double bareSeconds = Seconds(bareStart);
    CloseHandle(file);
    DeleteFileA(log.GetFileName().c_str());

    std::printf("QLog entries (LogLevel 5):         %10.0f entries/s\n", kEntries / logSeconds);
    std::printf("bare WriteFile of the same lines:  %10.0f lines/s\n", kEntries / bareSeconds);
    std::printf("ratio log / bare (aim <= 1.2):     %10.2f\n", logSeconds / bareSeconds);
}
#endif

}  // namespace

int main() {
    ReportParse("10,000 entries", EntriesFile(10000));
    ReportParse("1 MB", MegabyteFile());
#ifdef _WIN32
    const std::string folder = BenchFolder();
    ReportLookups(folder);
    ReportLog(folder);
    RemoveDirectoryA(folder.c_str());
#else
    LanguageEntries table;
    ParseLanguageFile(EntriesFile(10000), table);
    size_t next = 0;
    const double perSecond = RunsPerSecond([&] {
        table.find(Key(static_cast<int>(next)));
        next = (next + 7) % 10000;
    });
    std::printf("map look-ups of 10,000 entries:    %10.0f look-ups/s\n", perSecond);
#endif
    return 0;
}
