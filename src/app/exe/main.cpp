#include "orvex_app.h"

#include <malloc.h>

// The one application object, constructed before main runs.
COrvexApp theApp;

int main(int argc, char** argv) {
    // libVLC decodes on many threads; glibc's default of one malloc arena per thread keeps the
    // freed frames of every recording played, so resident memory grew with each one.
    mallopt(M_ARENA_MAX, 2);
    return theApp.InitInstance(argc, argv) ? 0 : 1;
}
