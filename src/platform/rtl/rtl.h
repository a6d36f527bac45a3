// The run-time library: what the rest of Moradex expects of a classic RTL, over the C++
// standard library and {fmt}. Exceptions with messages (exception.h), conversions, text and
// printf-style formatting (sysutils.h), string lists (strings.h), pointer lists and owned
// collections (lists.h), file-name masks (masks.h), the pseudo-random generator (random.h), byte
// streams over memory and files (streams.h), INI files (inifiles.h), TDateTime (datetime.h) and the
// scope guard (scope_exit.h).
// Free functions are safe on any thread; every object belongs to the thread that uses it. Include
// this header or the one part you need.
#pragma once

#include "platform/rtl/datetime.h"
#include "platform/rtl/exception.h"
#include "platform/rtl/inifiles.h"
#include "platform/rtl/lists.h"
#include "platform/rtl/masks.h"
#include "platform/rtl/random.h"
#include "platform/rtl/scope_exit.h"
#include "platform/rtl/streams.h"
#include "platform/rtl/strings.h"
#include "platform/rtl/sysutils.h"
