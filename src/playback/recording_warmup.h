// Getting the next recording's files ready while the current one plays: the kernel is asked to read
// them into the page cache ahead (posix_fadvise WILLNEED), so that opening them at a boundary does
// not wait for a slow card.
//
// Threading: opening a file on a card that stops answering can hang; call it on a worker thread.
// It touches nothing but its argument.
#pragma once

#include <cstddef>
#include <filesystem>
#include <vector>

// Asks for each file to be read ahead; returns how many files could be opened. Missing files are
// skipped.
size_t WarmRecordingFiles(const std::vector<std::filesystem::path>& paths);
