// veltrix-demo-card DIR: writes the demo memory card into DIR.
#include <iostream>

#include "demo_card.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: veltrix-demo-card DIR\n";
        return 2;
    }
    try {
        const auto files = WriteDemoCard(argv[1], std::cout);
        std::cout << files.size() << " recordings written to " << argv[1] << "\n";
    } catch (const std::exception& e) {
        std::cerr << "veltrix-demo-card: " << e.what() << "\n";
        return 1;
    }
    return 0;
}
