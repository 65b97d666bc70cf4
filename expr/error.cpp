#include "expr/error.h"

#include <new>

namespace toven {

void raise_error(const char* function, double argument) {
    throw new (std::nothrow) Error{function, argument};
}

}  // namespace toven
