#include "fuzz/fuzz_support.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/application.h"

namespace toven::fuzz {

void start_session() {
    // The session outlives every input and is never destroyed: libFuzzer leaves through exit(),
    // where tearing Qt down among the other static objects would only add noise.
    static int argc = 1;
    static char name[] = "toven-fuzz";
    static char* argv[] = {name, nullptr};
    static platform::Session* session =
        new platform::Session(argc, argv, platform::SessionKind::headless);
    (void)session;
}

std::string typed_text(const std::uint8_t* data, std::size_t size, std::size_t limit) {
    const void* nul = std::memchr(data, 0, size);
    const std::size_t length = nul == nullptr ? size : static_cast<const std::uint8_t*>(nul) - data;
    return std::string(reinterpret_cast<const char*>(data), length < limit ? length : limit);
}

void fail(const std::string& what, const std::string& input) {
    std::fprintf(stderr, "fuzz invariant broken: %s\ninput: '%s'\n", what.c_str(), input.c_str());
    std::abort();
}

}  // namespace toven::fuzz
