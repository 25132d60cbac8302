// Diagnostic trace lines: printed to standard output only when VELTRIX_TRACE is set.
#pragma once

#if defined(__GNUC__)
#define VELTRIX_PRINTF_LIKE(a, b) __attribute__((format(printf, a, b)))
#else
#define VELTRIX_PRINTF_LIKE(a, b)
#endif

bool TraceEnabled();
void Trace(const char* format, ...) VELTRIX_PRINTF_LIKE(1, 2);
