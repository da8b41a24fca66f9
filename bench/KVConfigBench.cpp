// Speed of the language table and the log, each against a baseline measured in the same run.
// Not a test: run it by hand (see docs/benchmarks.md) and compare the printed ratios.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "common/KVLanguageFile.h"

#ifdef _WIN32
#include <windows.h>

#include "common/KVLanguageTable.h"
#include "common/KVRegistry.h"
#include "vuda32/File/QLog.h"

// tests/bench/KVWaitBench.cpp: CPU time of the wizard model's two-second wait.
void ReportModelWait();
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

// The least a parser could do with the same bytes: cut the lines and copy each into a
// map of key and line, as a naive reader would.
size_t SplitOnly(const std::string& file) {
    std::map<std::string, std::string> lines;
    for (size_t start = 0; start < file.size();) {
        size_t end = file.find("\r\n", start);
        if (end == std::string::npos) end = file.size();
        const size_t equals = file.find('=', start);
        lines.emplace(file.substr(start, equals - start), file.substr(start, end - start));
        start = end + 2;
    }
    return lines.size();
}

void ReportParse(const char* what, const std::string& file) {
    size_t entries = 0;
    const double perSecond = RunsPerSecond([&] {
        LanguageEntries table;
        entries = ParseLanguageFile(file, table);
    });
    const double baseline = RunsPerSecond([&] { SplitOnly(file); });
    std::printf("parse %-16s %8zu bytes %6zu entries: %7.1f MB/s, split-only %7.1f MB/s, time ratio %.2f\n",
                what, file.size(), entries, perSecond * file.size() / (1024.0 * 1024.0),
                baseline * file.size() / (1024.0 * 1024.0), baseline / perSecond);
}

// A look-up of a plain map of strings, with the copy of the text a caller receives.
double PlainLookups(const std::vector<std::string>& keys) {
    std::map<std::string, std::string> plain;
    for (const std::string& key : keys) plain.emplace(key, "The &text of entry,\r\nas a translator writes it.");
    for (int i = 0; i < 10000; ++i) plain.emplace(Key(i), "filler");
    size_t next = 0;
    return RunsPerSecond([&] {
        std::string text = plain.find(keys[next])->second;
        next = (next + 1) % keys.size();
    });
}

std::vector<std::string> LookupKeys() {
    std::vector<std::string> keys;
    for (int i = 0; i < 10000; i += 7) keys.push_back(Key(i));
    return keys;
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
    const std::vector<std::string> keys = LookupKeys();
    size_t next = 0;
    const double found = RunsPerSecond([&] {
        table.GetText(keys[next], "default");
        next = (next + 1) % keys.size();
    });
    const double filled = RunsPerSecond([&] {
        table.GetText(keys[next], {{"msisdn", "+4712345678"}, {"email", "a@b.no"}}, "default");
        next = (next + 1) % keys.size();
    });
    const double plain = PlainLookups(keys);
    std::printf("GetText of 10,000 entries:         %10.0f look-ups/s, time ratio to a plain map %.2f\n",
                found, plain / found);
    std::printf("GetText with two placeholders:     %10.0f look-ups/s, time ratio to a plain map %.2f\n",
                filled, plain / filled);
    DeleteFileA(path.c_str());
}

// The log against the least any log could do: one WriteFile per line of the same length, on
// the same file. Each round the log creates the file anew and writes its entries, closes it,
// and the bare loop appends the same number of lines through a handle of its own. The
// machine is shared, so the rounds are short and each side keeps its best one; a burst of
// someone else's work then spoils one round, not the ratio.
void ReportLog(const std::string& folder) {
    constexpr int kRounds = 9;
    constexpr int kEntries = 20000;
    const std::string path = folder + "KVBench0.log";
    const std::string sample = "4 | 12:34:56_789 | 0x00000123 | KVRegisterModel::NextPage | page 3 shown \n";
    // Seconds for the entries of one round, into a fresh log file; `outputs` 0 formats the
    // lines without writing them.
    const auto logRound = [&path](uint32_t outputs) {
        QLog log;
        log.Open(path, false);
        log.Configure(5);
        log.SetOutputs(outputs);
        const auto start = Clock::now();
        for (int i = 0; i < kEntries; ++i)
            QLogEntry(&log, QLog::LevelInfo, "KVRegisterModel::NextPage")
                << "page " << (i % 5 + 1) << " shown";
        return Seconds(start);
    };
    double bestLog = 1e9;
    double bestBare = 1e9;
    for (int round = 0; round < kRounds; ++round) {
        bestLog = std::min(bestLog, logRound(QLog::OutputFile));

        HANDLE bare = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (bare == INVALID_HANDLE_VALUE || SetFilePointer(bare, 0, nullptr, FILE_END) == INVALID_SET_FILE_POINTER) {
            std::printf("log: could not reopen %s\n", path.c_str());
            return;
        }
        const auto bareStart = Clock::now();
        for (int i = 0; i < kEntries; ++i) {
            DWORD written = 0;
            WriteFile(bare, sample.data(), static_cast<DWORD>(sample.size()), &written, nullptr);
        }
        bestBare = std::min(bestBare, Seconds(bareStart));
        CloseHandle(bare);
    }

    // The entry's own cost: the same entries with the output switched off, so that the line
    // is formatted but not written.
    double bestOff = 1e9;
    for (int round = 0; round < kRounds; ++round) bestOff = std::min(bestOff, logRound(0));
    DeleteFileA(path.c_str());

    std::printf("QLog entries (LogLevel 5):         %10.0f entries/s\n", kEntries / bestLog);
    std::printf("bare WriteFile of the same lines:  %10.0f lines/s\n", kEntries / bestBare);
    std::printf("QLog entry with the output off:    %10.1f ns\n", bestOff / kEntries * 1e9);
    std::printf("time ratio log / bare (aim <= 1.2):%10.2f\n", bestLog / bestBare);
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
    ReportModelWait();
#else
    const double plain = PlainLookups(LookupKeys());
    std::printf("plain map look-ups (the baseline): %10.0f look-ups/s\n", plain);
#endif
    return 0;
}
