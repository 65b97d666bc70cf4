#include "app/command/command_output.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "expr/surface_function.h"

namespace toven {

int fail(const std::string& message) {
    std::fprintf(stderr, "toven: %s\n", message.c_str());
    return 1;
}

bool compile_or_report(SurfaceFunction& function) {
    function.compile();
    if (!function.compiled) {
        std::fprintf(stderr, "%s\n", function.expression().diagnostic().c_str());
    }
    return function.compiled;
}

int check_standard_output(int status) {
    errno = 0;
    if (std::fflush(stdout) == 0 && !std::ferror(stdout)) {
        return status;
    }
    const int error = errno;
    return fail(std::string("Cannot write to standard output: ") +
                (error != 0 ? std::strerror(error) : "write error") + ".");
}

}  // namespace toven
