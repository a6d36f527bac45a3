// The local time zone's standard bias, for the date and time conversions.
#pragma once

namespace sys {

// Minutes with UTC = local standard time + bias (so UTC+8 gives -480); daylight saving is not
// included. Follows TZ as it is at the call.
int TimeZoneBiasMinutes();

}  // namespace sys
