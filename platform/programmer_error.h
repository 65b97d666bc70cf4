// Misuse of an interface by the program itself (a null control, a file written before it is
// open) stops the program with a message naming the broken rule, in every build: unlike
// assert, it does not vanish under NDEBUG. A person's bad input is never one of these; it is
// a Refusal (platform/refusal.h).
#pragma once

namespace toven::platform {

// Writes "toven: programmer error at FILE:LINE: RULE" on standard error and aborts.
[[noreturn]] void programmer_error(const char* rule, const char* file, int line);

}  // namespace toven::platform

// Checks `condition`; when it is false, `rule` says what the caller should have done.
#define TOVEN_EXPECT(condition, rule)                                        \
    do {                                                                     \
        if (!(condition)) {                                                  \
            ::toven::platform::programmer_error((rule), __FILE__, __LINE__); \
        }                                                                    \
    } while (false)
