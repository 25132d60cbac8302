// One full refresh of every vehicle gauge and top-bar label (bench_widgets figure).
#pragma once

// Prints the median milliseconds of `runs` refreshes.
void MeasureGaugesRefresh(int runs);
