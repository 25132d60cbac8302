#include "navigation.h"

#include <algorithm>
#include <filesystem>

#include "recording_catalog.h"
#include "recording_name.h"

namespace fs = std::filesystem;

namespace {

// One step in the direction; previous wraps from 0 to the last entry, next has none past the end.
int StepFrom(NavigationDirection direction, int index, int count) {
    if (direction == NavigationDirection::kNext) return index + 1 < count ? index + 1 : -1;
    return index == 0 ? count - 1 : index - 1;
}

NavigationPlan Wrap(NavigationPlan plan) {
    plan.wrapped = true;
    plan.openIndex = 0;
    return plan;
}

bool SamePath(const fs::path& a, const fs::path& b) {
    return !a.empty() && !b.empty() && a.lexically_normal() == b.lexically_normal();
}

} // namespace

NavigationPlan PlanNavigation(NavigationDirection direction, int current, int count,
                              const PartnerTest& isPartner) {
    NavigationPlan plan;
    if (count <= 0) return plan;
    const int c = std::min(current, count - 1);
    if (c < 0) return Wrap(plan);
    int target = StepFrom(direction, c, count);
    if (target < 0) return Wrap(plan);
    if (isPartner && target != c && isPartner(c, target)) {
        plan.skippedPartner = target;
        target = StepFrom(direction, target, count);
        if (target < 0) return Wrap(plan);
    }
    plan.openIndex = target;
    return plan;
}

NavigationPlan PlanNavigation(NavigationDirection direction, const CRecordingCatalog& catalog) {
    const int count = static_cast<int>(std::min<size_t>(catalog.Entries().size(), INT32_MAX));
    return PlanNavigation(direction, catalog.CurrentEntry(), count, [&catalog](int playing, int candidate) {
        const fs::path playingPath = catalog.EntryPath(static_cast<size_t>(playing));
        const fs::path candidatePath = catalog.EntryPath(static_cast<size_t>(candidate));
        return SamePath(playingPath, FindFrontPartner(candidatePath)) ||
               SamePath(playingPath, FindRearPartner(candidatePath));
    });
}
