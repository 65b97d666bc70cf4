#include "fuzz/fuzz_support.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/application.h"

namespace toven::fuzz {

namespace {

// The session outlives every input and is never destroyed: libFuzzer leaves through exit(),
// where tearing Qt down among the other static objects would only add noise.
void start_once(platform::SessionKind kind) {
    static int argc = 1;
    static char name[] = "toven-fuzz";
    static char* argv[] = {name, nullptr};
    static platform::Session* session = new platform::Session(argc, argv, kind);
    (void)session;
}

}  // namespace

void start_session() {
    start_once(platform::SessionKind::headless);
}

void start_widget_session() {
    start_once(platform::SessionKind::test);
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
