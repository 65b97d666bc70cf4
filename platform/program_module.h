// The parts of toven that need the window system are modules of their own, loaded by the one
// toven command when a run needs them: the picture part (--render, Qt's painting without
// widgets), the window part (the interactive program) and printing (Qt's print support and
// CUPS, loaded only when the person prints). A run that evaluates a formula loads none.
// The modules lie in the module folder, found from the running program's own path, so the
// build tree and an installed tree both work wherever they are.
#pragma once

#include <string>

namespace toven::platform {

// The folder of the modules of the toven program at `program`: its folder and the relative
// path the build gave (TOVEN_MODULE_FOLDER).
std::string module_folder_of(const std::string& program);

// The module folder of the running program.
std::string module_folder();

// A loaded module; its symbols are open to the modules loaded after it (printing binds to the
// part that loaded it). Modules stay loaded until the process ends.
struct ProgramModule {
    void* handle = nullptr;
    std::string error;  // why the module could not be loaded, when handle is null

    // The address of `symbol` in the module, or null.
    void* find(const char* symbol) const;
};

// When a module's references to the libraries and the part that loaded it are bound: at
// once, so that a module that does not fit fails as it loads rather than in the middle of its
// work; or at each function's first call, which starts a large part sooner.
enum class Binding { at_once, at_first_call };

// Loads "toven-NAME.so" from the module folder; a module loaded before is found again.
ProgramModule load_program_module(const char* name, Binding binding);

// Runs `int ENTRY(int argc, char** argv)` of the module NAME and returns its exit status. A
// module that cannot be loaded or lacks the entry is reported on standard error (an
// installation that lost a file), status 1.
int run_program_module(const char* name, const char* entry, int argc, char** argv);

}  // namespace toven::platform
