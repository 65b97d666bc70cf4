#include "platform/programmer_error.h"

#include <cstdio>
#include <cstdlib>

namespace toven::platform {

void programmer_error(const char* rule, const char* file, int line) {
    std::fprintf(stderr, "toven: programmer error at %s:%d: %s\n", file, line, rule);
    std::abort();
}

}  // namespace toven::platform
