#include "platform/program_module.h"

#include <dlfcn.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

namespace toven::platform {

namespace {

// The running program's own file, as the kernel knows it: the folder a command was started
// from or a link pointing at it does not matter.
std::string program_file() {
    std::vector<char> path(4096);
    const ssize_t length = readlink("/proc/self/exe", path.data(), path.size() - 1);
    return length > 0 ? std::string(path.data(), static_cast<std::size_t>(length)) : std::string();
}

}  // namespace

std::string module_folder() {
    return module_folder_of(program_file());
}

std::string module_folder_of(const std::string& program) {
    const std::size_t slash = program.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : program.substr(0, slash);
    return folder + "/" + TOVEN_MODULE_FOLDER;
}

void* ProgramModule::find(const char* symbol) const {
    return handle != nullptr ? dlsym(handle, symbol) : nullptr;
}

ProgramModule load_program_module(const char* name, Binding binding) {
    const std::string path = module_folder() + "/toven-" + name + ".so";
    ProgramModule module;
    // RTLD_GLOBAL: the printing module has no copy of the drawing layer and uses the part's.
    module.handle =
        dlopen(path.c_str(), (binding == Binding::at_once ? RTLD_NOW : RTLD_LAZY) | RTLD_GLOBAL);
    if (module.handle == nullptr) {
        const char* why = dlerror();
        module.error = why != nullptr ? why : path + ": cannot be loaded";
    }
    return module;
}

int run_program_module(const char* name, const char* entry, int argc, char** argv) {
    const ProgramModule module = load_program_module(name, Binding::at_first_call);
    using Entry = int (*)(int, char**);
    const auto run = reinterpret_cast<Entry>(module.find(entry));
    if (run == nullptr) {
        std::fprintf(stderr, "toven: the installation is incomplete: %s\n",
                     module.handle == nullptr ? module.error.c_str()
                                              : (std::string(name) + " has no " + entry).c_str());
        return 1;
    }
    return run(argc, argv);
}

}  // namespace toven::platform
