#include "trip_presenter.h"

#include <QLabel>
#include <QThread>

#include "language.h"
#include "recording_catalog.h"
#include "recording_plan.h"
#include "recording_warmup.h"
#include "trip_bar.h"
#include "trip_summary_text.h"

CTripPresenter::CTripPresenter(CTripBar* bar, QLabel* summaryPanel, TripPresenterHooks hooks, QObject* parent)
    : QObject(parent), m_pBar(bar), m_pSummary(summaryPanel), m_hooks(std::move(hooks)) {
    connect(m_pBar, &CTripBar::tripPositionRequested, this, &CTripPresenter::OnPositionRequested);
    m_pBar->hide();
    if (m_pSummary) {
        m_pSummary->setAccessibleName(QString::fromStdString(LoadLangString(IDS_TRIP_SUMMARY)));
        m_pSummary->setTextInteractionFlags(Qt::TextSelectableByKeyboard | Qt::TextSelectableByMouse);
        m_pSummary->setFocusPolicy(Qt::StrongFocus);
        m_pSummary->hide();
    }
}

CTripPresenter::~CTripPresenter() {
    // The worker stops after the file it reads; its queued result dies with this object.
    if (m_pStop) m_pStop->store(true);
    for (QThread* loader : findChildren<QThread*>(Qt::FindDirectChildrenOnly))
        loader->wait();
}

void CTripPresenter::SyncCatalog(const CRecordingCatalog& catalog) {
    if (BuiltFrom(catalog)) return;
    SetCatalog(catalog.Entries(), catalog.GroupRows());
    m_llRevision = catalog.Revision();
}

bool CTripPresenter::BuiltFrom(const CRecordingCatalog& catalog) const {
    return m_llRevision == catalog.Revision();
}

void CTripPresenter::SetCatalog(const std::vector<RecordingEntry>& entries, const std::vector<GroupRow>& groups) {
    EndTrip();
    m_llRevision.reset();
    m_Entries = entries;
    m_Trips = BuildTrips(m_Entries, groups);
    m_RouteSummaries.assign(m_Trips.size(), std::nullopt);
}

const CTrip* CTripPresenter::PlayingTrip() const {
    return m_nTrip ? &m_Trips[*m_nTrip] : nullptr;
}

bool CTripPresenter::PlayGroup(int group) {
    size_t index = 0;
    while (index < m_Trips.size() && m_Trips[index].Group() != group)
        ++index;
    if (index == m_Trips.size()) return false;
    const std::optional<TripPosition> first = m_Trips[index].PositionAt(0);
    if (!first) return false;
    EndTrip();
    m_nTrip = index;
    m_llTripMs = 0;
    const CTrip& trip = m_Trips[index];
    m_pBar->SetTrip(trip.LengthMs(), TripBarSegmentsOf(trip));
    m_pBar->show();
    if (m_hooks.barShownChanged) m_hooks.barShownChanged(true);
    ShowSummary();
    StartRouteLoad();
    if (m_hooks.openEntryAt) m_hooks.openEntryAt(static_cast<int>(first->entry), first->offsetMs);
    return true;
}

void CTripPresenter::OnRecordingOpened(int entry) {
    m_nEntry = entry;
    const CTrip* trip = PlayingTrip();
    if (!trip) return;
    if (entry < 0 || !trip->Contains(static_cast<size_t>(entry))) {
        EndTrip();
        return;
    }
    OnRecordingTime(0);
    PrepareNext();
}

bool CTripPresenter::OnRecordingEnded(bool autoNext) {
    if (!autoNext || m_nEntry < 0 || !m_hooks.openEntryAt) return false;
    const std::optional<size_t> next = NextInTrip(static_cast<size_t>(m_nEntry));
    if (!next) return false;
    m_hooks.openEntryAt(static_cast<int>(*next), 0);
    return true;
}

void CTripPresenter::PrepareNext() {
    const std::optional<size_t> next = NextInTrip(static_cast<size_t>(m_nEntry));
    if (!next || *next >= m_Entries.size()) return;
    const std::filesystem::path front = RecordingPath(m_Entries[*next]);
    const RecordingPlan plan = PlanRecording(front);
    QThread* warmer = QThread::create([files = std::vector<std::filesystem::path>{plan.front, plan.rear}] {
        WarmRecordingFiles(files);
    });
    warmer->setParent(this);
    connect(warmer, &QThread::finished, warmer, &QObject::deleteLater);
    warmer->start(QThread::LowPriority);
}

void CTripPresenter::OnRecordingTime(int64_t ms) {
    const CTrip* trip = PlayingTrip();
    if (!trip || m_nEntry < 0) return;
    const std::optional<int64_t> tripMs = trip->TripTimeOf(static_cast<size_t>(m_nEntry), ms);
    if (!tripMs) return;
    m_llTripMs = *tripMs;
    m_pBar->SetPlayedMs(m_llTripMs);
    if (!m_bRouteShown || !m_hooks.toMap) return;
    const TripMapStep step = m_Follower.MoveTo(m_llTripMs);
    if (!step.scripts.isEmpty() || step.movePos) m_hooks.toMap(step.scripts, step.movePos);
}

std::optional<size_t> CTripPresenter::NextInTrip(size_t entry) const {
    const CTrip* trip = PlayingTrip();
    if (!trip) return std::nullopt;
    const std::vector<size_t>& timeline = trip->Timeline();
    for (size_t i = 0; i + 1 < timeline.size(); ++i) {
        const TripRecording& r = trip->Recordings()[timeline[i]];
        // A rear file of a front/rear pair plays with its front: it prepares the same next one.
        if (r.entry == entry || trip->TripTimeOf(entry, 0) == r.startOffsetMs)
            return trip->Recordings()[timeline[i + 1]].entry;
    }
    return std::nullopt;
}

void CTripPresenter::OnPositionRequested(int seconds) {
    const CTrip* trip = PlayingTrip();
    if (!trip) return;
    const std::optional<TripPosition> at = trip->PositionAt(static_cast<int64_t>(seconds) * 1000);
    if (!at) return;
    if (static_cast<int>(at->entry) == m_nEntry && m_hooks.seekTo) {
        m_hooks.seekTo(at->offsetMs);
        OnRecordingTime(at->offsetMs);
        return;
    }
    if (m_hooks.openEntryAt) m_hooks.openEntryAt(static_cast<int>(at->entry), at->offsetMs);
}

void CTripPresenter::StartRouteLoad() {
    if (m_pStop) m_pStop->store(true);
    auto stop = std::make_shared<std::atomic_bool>(false);
    m_pStop = stop;
    const uint64_t generation = ++m_nGeneration;
    const CTrip trip = m_Trips[*m_nTrip];
    // An older reader stops after its file and goes once it has finished.
    if (m_pLoader) {
        if (m_pLoader->isFinished()) delete m_pLoader;
        else connect(m_pLoader, &QThread::finished, m_pLoader, &QObject::deleteLater);
    }
    // The worker owns copies of what it reads: the catalog may change while it runs.
    m_pLoader = QThread::create([this, stop, generation, trip, entries = m_Entries, thresholds = m_EventThresholds] {
        std::optional<std::vector<RecordingFixes>> fixes =
            LoadTripFixes(trip, entries, [&stop](size_t, size_t) { return !stop->load(); });
        if (!fixes || stop->load()) return;
        std::vector<RoutePoint> route = BuildTripRoute(trip, *fixes);
        std::vector<RecordingEvents> events = TripRecordingEvents(trip, *fixes, thresholds);
        QMetaObject::invokeMethod(
            this,
            [this, generation, r = std::move(route), e = std::move(events)]() mutable {
                OnRouteLoaded(generation, std::move(r), std::move(e));
            },
            Qt::QueuedConnection);
    });
    m_pLoader->setParent(this);
    m_pLoader->start(QThread::LowPriority);
}

void CTripPresenter::OnRouteLoaded(uint64_t generation, std::vector<RoutePoint> route,
                                   std::vector<RecordingEvents> events) {
    if (generation != m_nGeneration || !m_nTrip) return;
    if (m_hooks.tripEventsRead) m_hooks.tripEventsRead(std::move(events));
    m_RouteSummaries[*m_nTrip] = SummarizeTrip(m_Trips[*m_nTrip], route);
    const qint64 points = static_cast<qint64>(route.size());
    const TripMapStep step = m_Follower.Start(std::move(route), m_llTripMs);
    m_bRouteShown = true;
    if (m_hooks.toMap) m_hooks.toMap(step.scripts, step.movePos);
    ShowSummary();
    emit routeShown(m_Trips[*m_nTrip].Group(), points);
}

void CTripPresenter::EndTrip() {
    if (!m_nTrip) return;
    if (m_pStop) m_pStop->store(true);
    ++m_nGeneration;
    m_nTrip.reset();
    m_bRouteShown = false;
    m_Follower = CTripMapFollower();
    m_pBar->hide();
    if (m_pSummary) m_pSummary->hide();
    if (m_hooks.barShownChanged) m_hooks.barShownChanged(false);
}

void CTripPresenter::SetSpeedInKmh(bool kmh) {
    m_bKmh = kmh;
    ShowSummary();
}

QString CTripPresenter::GroupToolTip(int group) const {
    for (size_t i = 0; i < m_Trips.size(); ++i) {
        if (m_Trips[i].Group() != group) continue;
        if (m_RouteSummaries[i]) return TripSummaryText(*m_RouteSummaries[i], m_bKmh, true);
        return TripSummaryText(SummarizeTrip(m_Trips[i], {}), m_bKmh, false);
    }
    return {};
}

QString CTripPresenter::PlayingSummary() const {
    const CTrip* trip = PlayingTrip();
    return trip ? GroupToolTip(trip->Group()) : QString();
}

void CTripPresenter::ShowSummary() {
    if (!m_pSummary) return;
    const CTrip* trip = PlayingTrip();
    if (!trip) return;
    const QString text = GroupToolTip(trip->Group());
    m_pSummary->setText(text);
    m_pSummary->setAccessibleDescription(text);
    m_pSummary->setAccessibleName(QString::fromStdString(LoadLangString(IDS_TRIP_SUMMARY)));
    m_pSummary->show();
}
