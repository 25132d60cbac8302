#include "trace.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>

bool TraceEnabled() {
    static const bool enabled = std::getenv("VELTRIX_TRACE") != nullptr;
    return enabled;
}

void Trace(const char* format, ...) {
    if (!TraceEnabled()) return;
    va_list args;
    va_start(args, format);
    std::vfprintf(stdout, format, args);
    va_end(args);
    std::fflush(stdout);
}
