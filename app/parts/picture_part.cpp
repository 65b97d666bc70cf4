// The picture part of toven: --render, loaded by the toven command for it. It paints with Qt
// without widgets and loads printing, which a picture never uses, only on demand.
#include "app/app_data.h"
#include "app/command/render_command.h"

extern "C" __attribute__((visibility("default"))) int toven_picture_main(int argc, char** argv) {
    toven::AppData state;
    return toven::run_render_command(state, argc, argv);
}
