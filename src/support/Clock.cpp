#include "support/DateTime.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <algorithm>
#include <chrono>
#include <ctime>
#endif

namespace {

DateTimeParts LocalNow()
{
#ifdef _WIN32
    SYSTEMTIME now;
    GetLocalTime(&now);
    return {now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond, now.wMilliseconds};
#else
    using namespace std::chrono;
    const auto now = system_clock::now();
    const auto seconds = floor<std::chrono::seconds>(now);
    const std::time_t time = system_clock::to_time_t(seconds);
    std::tm local{};
    localtime_r(&time, &local);
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
            local.tm_hour,        local.tm_min,     std::min(local.tm_sec, 59),  // no leap second
            static_cast<int>(duration_cast<milliseconds>(now - seconds).count())};
#endif
}

}  // namespace

TDateTime Now()
{
    return EncodeDateTime(LocalNow());
}

TDateTime Date()
{
    const DateTimeParts today = LocalNow();
    return EncodeDate(today.Year, today.Month, today.Day);
}
