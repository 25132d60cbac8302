#include "trip_map_scripts.h"

#include "map_scripts.h"

namespace {

// Route points are decimal degrees already: MovePos must not convert them as it does layout 0.
constexpr int kDecimalDegreesLayout = kLayoutJtdMeta;

// Within this step forwards the car is playing on; anything else is a jump (as UpdateAtTime).
constexpr int64_t kPlayingStepMs = 3000;

bool SamePlace(const RoutePoint& a, const RoutePoint& b) {
    return a.latitude == b.latitude && a.longitude == b.longitude;
}

} // namespace

QStringList TripRouteScripts(const std::vector<RoutePoint>& route) {
    QStringList scripts;
    scripts.reserve(static_cast<qsizetype>(route.size()) + 2);
    scripts << kPathDrivedDeleteScript << kPathDeleteScript;
    for (size_t i = 0; i < route.size(); ++i) {
        if (i > 0 && SamePlace(route[i], route[i - 1])) continue;
        scripts << PathPlotScript(route[i].latitude, route[i].longitude);
    }
    return scripts;
}

QStringList TripDrivenScripts(const std::vector<RoutePoint>& route, size_t end) {
    QStringList scripts;
    scripts << kPathDrivedDeleteScript;
    for (size_t i = 0; i < end && i < route.size(); ++i)
        scripts << PathDrivedPlotScript(route[i].latitude, route[i].longitude);
    return scripts;
}

TripMapStep CTripMapFollower::Start(std::vector<RoutePoint> route, int64_t tripMs) {
    m_Route = std::move(route);
    m_nCarPoint.reset();
    TripMapStep step;
    step.scripts = TripRouteScripts(m_Route);
    const std::optional<size_t> point = RoutePointAt(m_Route, tripMs);
    step.scripts += TripDrivenScripts(m_Route, point.value_or(0));
    m_llLastMs = tripMs;
    return CarTo(point, std::move(step));
}

TripMapStep CTripMapFollower::MoveTo(int64_t tripMs) {
    const std::optional<size_t> point = RoutePointAt(m_Route, tripMs);
    const bool playingOn = tripMs >= m_llLastMs && tripMs - m_llLastMs <= kPlayingStepMs;
    m_llLastMs = tripMs;
    TripMapStep step;
    if (point == m_nCarPoint) return step;
    if (playingOn && point && (!m_nCarPoint || *point > *m_nCarPoint)) {
        for (size_t i = m_nCarPoint ? *m_nCarPoint + 1 : 0; i < *point; ++i)
            step.scripts << PathDrivedPlotScript(m_Route[i].latitude, m_Route[i].longitude);
    } else {
        step.scripts = TripDrivenScripts(m_Route, point.value_or(0));
    }
    return CarTo(point, std::move(step));
}

TripMapStep CTripMapFollower::CarTo(std::optional<size_t> point, TripMapStep step) {
    m_nCarPoint = point;
    if (point) {
        const RoutePoint& p = m_Route[*point];
        step.movePos = MovePosArgs{p.latitude, kDecimalDegreesLayout, p.longitude};
    }
    return step;
}
