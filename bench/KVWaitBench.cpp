// The model's wait for the user must block in the system: the CPU time the process uses
// while a step waits two seconds, against a plain Sleep of the same length.
#include <windows.h>

#include <cstdint>
#include <cstdio>

#include "include/KVRegisterApi.h"
#include "register/model/KVRegisterModel.h"

namespace {

// User plus kernel time of the whole process, in milliseconds.
double ProcessCpuMs() {
    FILETIME created, exited, kernel, user;
    if (!GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user)) return 0;
    const auto ms = [](const FILETIME& t) {
        return ((static_cast<uint64_t>(t.dwHighDateTime) << 32) | t.dwLowDateTime) / 10000.0;
    };
    return ms(kernel) + ms(user);
}

}  // namespace

void ReportModelWait() {
    const int32_t kWaitMs = 2000;
    double before = ProcessCpuMs();
    Sleep(kWaitMs);
    const double sleepCpu = ProcessCpuMs() - before;

    KVRegisterModel model("Software\\KVBench\\NoSuchProduct");
    KVResultRecord pending;
    pending.Result = KVRESULT_PENDING;
    pending.WaitSeconds = kWaitMs / 1000;
    KVActionRecord step;
    const DWORD start = GetTickCount();
    before = ProcessCpuMs();
    model.Register(pending, step);
    const double waitCpu = ProcessCpuMs() - before;
    const DWORD waited = GetTickCount() - start;

    std::printf("model wait of %d ms: waited %lu ms, CPU %.1f ms\n", kWaitMs,
                static_cast<unsigned long>(waited), waitCpu);
    std::printf("Sleep of %d ms (baseline):     CPU %.1f ms\n", kWaitMs, sleepCpu);
    // Timer resolution makes both figures multiples of about 16 ms; a polling wait would
    // use most of the two seconds.
    std::printf("ratio wait / sleep CPU (aim: both near 0, ratio <= 2): %.2f\n",
                sleepCpu > 0 ? waitCpu / sleepCpu : waitCpu / 15.6);
}
