#include "orvex_app.h"

// The one application object, constructed before main runs.
COrvexApp theApp;

int main(int argc, char** argv) {
    return theApp.InitInstance(argc, argv) ? 0 : 1;
}
