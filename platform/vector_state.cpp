#include "platform/vector_state.h"

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#endif

namespace toven::platform {

namespace {

using Clear = void (*)();

void keep_state() {}

#if defined(__x86_64__) || defined(__i386__)
// Compiled for AVX alone, so the rest of the program keeps running on CPUs without it.
__attribute__((target("avx"))) void zero_upper() {
    _mm256_zeroupper();
}

// Chosen once, at the first call: the instruction exists only on CPUs with AVX.
Clear chosen_clear() {
    return __builtin_cpu_supports("avx") ? zero_upper : keep_state;
}
#else
Clear chosen_clear() {
    return keep_state;
}
#endif

}  // namespace

void clear_upper_vector_state() {
    static const Clear clear = chosen_clear();
    clear();
}

}  // namespace toven::platform
