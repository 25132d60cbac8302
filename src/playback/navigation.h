// Previous and next recording over the catalog: the step, the skip over the other camera of the
// recording being played, and the wrap-around at either end.
#pragma once

#include <functional>

class CRecordingCatalog;

enum class NavigationDirection { kPrevious, kNext };

// What previous/next does, in this order: when skippedPartner is not -1, select that entry, load its
// telemetry and update the lock picture; when wrapped, stop the front engine; then OpenEntry(openIndex).
// openIndex is -1 only for an empty catalog (nothing to do).
struct NavigationPlan {
    int skippedPartner = -1;
    int openIndex = -1;
    bool wrapped = false; // openIndex is then 0
};

// True when `candidate` is the other camera's file of the recording at `playing`.
using PartnerTest = std::function<bool(int playing, int candidate)>;

// current: the catalog's current index (lowered to the last entry when past it); count: entries.
NavigationPlan PlanNavigation(NavigationDirection direction, int current, int count,
                              const PartnerTest& isPartner);

// The same over a catalog, with the partner found by name on disk (front and rear partner searches).
NavigationPlan PlanNavigation(NavigationDirection direction, const CRecordingCatalog& catalog);
