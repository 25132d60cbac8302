#include "command_list.h"
#include "orvex_app.h"

#include <cstring>
#include <iostream>

#include <malloc.h>

// The one application object, constructed before main runs.
COrvexApp theApp;

int main(int argc, char** argv) {
    // libVLC decodes on many threads; glibc's default of one malloc arena per thread keeps the
    // freed frames of every recording played, so resident memory grew with each one.
    mallopt(M_ARENA_MAX, 2);
    // For scripts: every command with its keys, without starting the viewer.
    if (argc == 2 && std::strcmp(argv[1], "--list-commands") == 0) {
        WriteCommandList(std::cout);
        return 0;
    }
    return theApp.InitInstance(argc, argv) ? 0 : 1;
}
