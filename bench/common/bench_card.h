// The card the card benchmarks open (1,000 recordings: 500 front/rear pairs, layouts 0 to 4 in
// turn, sparse files of 50 to 500 MB), their common options and the median they print.
#pragma once

#include <filesystem>
#include <vector>

namespace bench {

constexpr int kCardPairs = 500;

// Writes the card: front files in "Movie", rear files in `rearFolder`.
void WriteCard(const std::filesystem::path& card, const char* rearFolder);

struct CardOptions {
    std::filesystem::path card;
    bool keep = false;
    bool given = false; // --card named a folder
    int runs = 1;
};

// Reads [--card DIR] [--keep] [--runs N] over the defaults in `options`; false (usage printed) on
// anything else.
bool ParseCardOptions(int argc, char** argv, const char* program, CardOptions& options);

// Writes the card (rear files in `rearFolder`) unless --card named one that exists, and says how
// long it took.
void EnsureCard(const CardOptions& options, const char* rearFolder);

double Median(std::vector<double> values);

} // namespace bench
