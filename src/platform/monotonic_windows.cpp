#include "platform/monotonic.h"

#include <cstdio>
#include <initializer_list>

#include <windows.h>

namespace platform {

namespace {

using QueryTime = VOID(WINAPI *)(PULONGLONG);

// The interrupt time counts on through sleep and hibernation, in units of
// 100 ns; its precise form (Windows 10 and later) reads it to the unit.
// Microsoft documents it in Kernel32.dll; some versions export it from
// kernelbase.dll alone. Where it is missing (also under Wine), the
// performance counter that Qt's timers run on, said once on standard error.
QueryTime interruptTime()
{
    for (const wchar_t *name : {L"kernel32.dll", L"kernelbase.dll"}) {
        if (HMODULE module = GetModuleHandleW(name)) {
            if (FARPROC query = GetProcAddress(module, "QueryInterruptTimePrecise"))
                return reinterpret_cast<QueryTime>(reinterpret_cast<void *>(query));
        }
    }
    std::fputs("Taikan: no QueryInterruptTimePrecise in kernel32.dll or kernelbase.dll; "
               "the match clock runs on the performance counter\n",
               stderr);
    std::fflush(stderr);
    return nullptr;
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
