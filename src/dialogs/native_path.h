// From a path as the toolkit shows it back to the file system's bytes. Qt holds names as text, so
// bytes that are not UTF-8 (a FAT card mounted with the wrong character set) reach it as U+FFFD
// and cannot be encoded back; such a name is found again among the entries of its folder.
#pragma once

#include <QString>
#include <filesystem>

// The bytes of `shown`: its UTF-8 form where that is exact, and for each name holding U+FFFD the
// one entry of its folder whose decoded name it is. Empty when no entry, or more than one, fits.
std::filesystem::path NativePathOf(const QString& shown);
