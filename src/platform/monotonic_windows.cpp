#include "platform/monotonic.h"

#include <windows.h>

namespace platform {

namespace {

using QueryTime = VOID(WINAPI *)(PULONGLONG);

// The interrupt time counts on through sleep and hibernation, in units of
// 100 ns; its precise form (Windows 10 and later) reads it to the unit.
// Where it is missing, the performance counter that Qt's timers run on.
QueryTime interruptTime()
{
    HMODULE kernel = GetModuleHandleW(L"kernelbase.dll");
    return kernel ? reinterpret_cast<QueryTime>(
                        reinterpret_cast<void *>(GetProcAddress(kernel, "QueryInterruptTimePrecise")))
                  : nullptr;
}

} // namespace

std::int64_t monotonicMs()
{
    static const QueryTime query = interruptTime();
    if (query) {
        ULONGLONG now = 0;
        query(&now);
        return std::int64_t(now / 10'000);
    }
    static const LONGLONG frequency = [] {
        LARGE_INTEGER f{};
        QueryPerformanceFrequency(&f);
        return f.QuadPart;
    }();
    LARGE_INTEGER count{};
    QueryPerformanceCounter(&count);
    return std::int64_t(count.QuadPart / frequency * 1000 + count.QuadPart % frequency * 1000 / frequency);
}

} // namespace platform
