#include "platform/sys/power.h"

#include "platform/sys/launcher.h"
#include "platform/sys/replaceable.h"

namespace sys {

namespace {

TReplaceable<TPowerOffRequester>& Requester() {
    static TReplaceable<TPowerOffRequester> requester;
    return requester;
}

}  // namespace

std::vector<std::string> PowerOffCommand() {
    // "b false": not interactive, so a policy that wants a password refuses instead of asking.
    return {"busctl",
            "--system",
            "call",
            "org.freedesktop.login1",
            "/org/freedesktop/login1",
            "org.freedesktop.login1.Manager",
            "PowerOff",
            "b",
            "false"};
}

void SystemRequestPowerOff() {
    LaunchDetached(PowerOffCommand());
}

void RequestPowerOff() {
    const TPowerOffRequester requester = Requester().Get();
    if (requester)
        requester();
    else
        SystemRequestPowerOff();
}

TPowerOffRequester SetPowerOffRequester(TPowerOffRequester requester) {
    return Requester().Set(std::move(requester));
}

}  // namespace sys
