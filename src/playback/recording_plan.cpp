#include "recording_plan.h"

#include <algorithm>

#include "recording_name.h"

namespace fs = std::filesystem;

RecordingPlan PlanRecording(const fs::path& path) {
    RecordingPlan plan;
    if (path.empty()) return plan;
    // The role comes from the file's own name: a folder above it may hold anything.
    if (IsRearRecording(path.filename().native())) {
        plan.front = FindFrontPartner(path);
        plan.rear = path;
        plan.rearSilent = !plan.front.empty();
        return plan;
    }
    plan.front = path;
    plan.rear = FindRearPartner(path);
    return plan;
}

int FrontEngineVolume(int sliderPercent) {
    return 2 * std::clamp(sliderPercent, 0, 100);
}

int RearEngineVolume(const RecordingPlan& plan, int sliderPercent) {
    return plan.RearAlone() ? FrontEngineVolume(sliderPercent) : 0;
}
