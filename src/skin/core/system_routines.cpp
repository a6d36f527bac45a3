#include "skin/core/system_routines.h"

#if defined(__x86_64__) || defined(__i386__)
#include <cpuid.h>
#endif

#include "platform/win/win.h"

namespace skin {

TOsVersion GetOsVersionPair(std::uint32_t version) {
    return {int(version & 0xFF), int(version >> 8 & 0xFF)};
}

bool OsIsW2kUp(TOsVersion v) {
    return v.Major > 5 || (v.Major == 5 && v.Minor >= 0 && v.Minor <= 2);
}

bool OsIsXpUp(TOsVersion v) {
    return v.Major > 5 || (v.Major == 5 && v.Minor == 1);
}

bool OsIsVistaUp(TOsVersion v) {
    return v.Major > 5;
}

bool OsIsW2kUp() {
    return win::GetBackendCaps().LayeredWindows;
}

bool OsIsXpUp() {
    return win::GetBackendCaps().Shadows;
}

bool OsIsVistaUp() {
    return win::GetBackendCaps().LayeredWindows;
}

bool HasMultiMonitorApi() {
    return win::GetSystemMetrics(win::SM_CMONITORS) > 1;
}

void GetDesktopWorkRect(bool workArea, TRect& r) {
    if (workArea) {
        win::SystemParametersInfo(win::SPI_GETWORKAREA, &r);
        return;
    }
    r = {0, 0, win::GetSystemMetrics(win::SM_CXSCREEN), win::GetSystemMetrics(win::SM_CYSCREEN)};
}

void GetWindowMonitorRect(win::HWND wnd, bool workArea, TRect& r) {
    if (!HasMultiMonitorApi()) {
        GetDesktopWorkRect(workArea, r);
        return;
    }
    win::MONITORINFO info;
    if (!win::GetMonitorInfo(win::MonitorFromWindow(wnd, win::MONITOR_DEFAULTTONEAREST), info))
        return;
    r = workArea ? info.rcWork : info.rcMonitor;
}

#if defined(__x86_64__) || defined(__i386__)

bool CpuidPresent() {
    return __get_cpuid_max(0, nullptr) >= 1;
}

std::uint32_t CpuSignatureOf() {
    unsigned eax = 0, ebx = 0, ecx = 0, edx = 0;
    return __get_cpuid(1, &eax, &ebx, &ecx, &edx) ? eax : 0;
}

std::uint32_t CpuFeatureBits() {
    unsigned eax = 0, ebx = 0, ecx = 0, edx = 0;
    return __get_cpuid(1, &eax, &ebx, &ecx, &edx) ? edx : 0;
}

#else

bool CpuidPresent() {
    return false;
}
std::uint32_t CpuSignatureOf() {
    return 0;
}
std::uint32_t CpuFeatureBits() {
    return 0;
}

#endif

bool CpuHasMmx() {
    return CpuidPresent() && ((CpuSignatureOf() >> 8) & 15) >= 5 &&
           (CpuFeatureBits() & (1u << 23)) != 0;
}

}  // namespace skin
