// The upper halves of the 256-bit vector registers. Code that leaves them in use (a library's
// vector routine that skips vzeroupper) makes every later legacy-SSE instruction, which the
// maths library is full of, pay a transition penalty on some CPUs. Clearing them where a run
// of evaluations begins keeps the formula at its native speed whatever ran before.
#pragma once

namespace toven::platform {

// Marks the upper halves of the vector registers unused (vzeroupper) on a CPU with AVX, and
// does nothing on one without it. Cheap: call it before each run of evaluations.
void clear_upper_vector_state();

}  // namespace toven::platform
