#include <cstdio>

#include "app/command_line.h"

int main(int argc, char** argv) {
    if (argc > 1) {
        return toven::run_command_line(argc, argv);
    }
    std::puts("toven: the window is not built yet; try 'toven --help'");
    return 0;
}
