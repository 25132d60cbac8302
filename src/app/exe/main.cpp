#include "allocator_trim.h"
#include "command_list.h"
#include "orvex_app.h"

#include <chrono>
#include <cstring>
#include <iostream>

// The one application object, constructed before main runs.
COrvexApp theApp;

int main(int argc, char** argv) {
    // libVLC decodes on many threads and frees its frames at every opening: without these rules
    // and the trimmer the allocator kept that memory and resident size grew with each recording.
    SetAllocatorRules();
    // For scripts: every command with its keys, without starting the viewer.
    if (argc == 2 && std::strcmp(argv[1], "--list-commands") == 0) {
        WriteCommandList(std::cout);
        return 0;
    }
    const CAllocatorTrimmer trimmer(std::chrono::seconds(2), 4 << 20);
    return theApp.InitInstance(argc, argv) ? 0 : 1;
}
