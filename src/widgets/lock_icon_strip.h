// The lock icons of the file and group lists: one strip of four 24 x 24 pictures (empty, "G",
// "M", "G" and "M"), magenta (255, 0, 255) transparent. Icon index = lock marks.
#pragma once

#include <QImage>
#include <array>

constexpr int kLockIconSize = 24;
constexpr int kLockIconCount = 4;

// The four icons cut from a strip; magenta pixels become transparent. A strip narrower than four
// icons gives null images for the missing ones.
std::array<QImage, kLockIconCount> SplitLockIconStrip(const QImage& strip);

// A strip drawn here (padlocks with their letters) for when no picture resource is given.
QImage DrawLockIconStrip();

// Icon index of lock marks: their two low bits.
constexpr int LockIconIndex(int lockMarks) {
    return lockMarks & 3;
}
