// Linked into every test program: the tests' expected local times are Berlin times, so each
// program sets that zone itself before main. Run directly or under CTest, the result is the same.
#include <cstdlib>
#include <ctime>

namespace {
const bool s_bBerlinTime = [] {
    setenv("TZ", "Europe/Berlin", 1);
    tzset();
    return true;
}();
} // namespace
