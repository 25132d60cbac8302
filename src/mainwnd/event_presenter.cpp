#include "event_presenter.h"

#include <QListWidget>

#include <algorithm>
#include <cmath>
#include <utility>

#include "gsensor_ctrl.h"
#include "lang_text.h"
#include "string_tables.h"
#include "trip_bar.h"
#include "video_slider.h"

namespace {

QString KindText(EventKind kind) {
    return LangText(kind == EventKind::kImpact ? IDS_EVENT_IMPACT : IDS_EVENT_HARSH);
}

} // namespace

std::vector<GForceEvent> EventsOfCurve(const CGSensorCtrl& curve, const EventThresholds& thresholds) {
    const double rate = std::lround(curve.SamplesPerMs() * 1000.0);
    if (curve.Samples().empty() || !(rate >= 1 && rate <= 10000)) return {};
    const double fullScale = std::clamp(std::lround(curve.FullScale()), 0L, 255L);
    return DetectGForceEvents(curve.Samples(), static_cast<uint32_t>(rate), static_cast<uint8_t>(fullScale),
                              thresholds);
}

CEventPresenter::CEventPresenter(CGSensorCtrl* curve, CVideoSlider* slider, QListWidget* list,
                                 const EventThresholds& thresholds, std::function<int()> currentEntry,
                                 QObject* parent)
    : QObject(parent), m_pCurve(curve), m_pSlider(slider), m_pList(list), m_thresholds(thresholds),
      m_currentEntry(std::move(currentEntry)) {
    connect(m_pCurve, &CGSensorCtrl::seriesSetUp, this, &CEventPresenter::OnSeriesSetUp);
    connect(m_pList, &QListWidget::itemActivated, this, &CEventPresenter::OnItemActivated);
    Retranslate();
}

void CEventPresenter::SetTripBar(CTripBar* bar) {
    m_pTripBar = bar;
    ShowMarks();
}

// The open recording's part is the one found in its series (its telemetry is loaded already).
void CEventPresenter::ShowTrip(std::vector<RecordingEvents> recordings) {
    m_trip = std::move(recordings);
    m_bTrip = true;
    const int entry = m_currentEntry();
    for (RecordingEvents& recording : m_trip)
        if (recording.entryIndex == entry && !m_pCurve->Samples().empty()) recording.events = m_recordingEvents;
    m_items = PlaceEvents(m_trip);
    ShowMarks();
    FillList();
}

void CEventPresenter::ShowRecording() {
    m_trip.clear();
    m_bTrip = false;
    m_items = PlaceEvents({{m_currentEntry(), 0, m_recordingEvents}});
    ShowMarks();
    FillList();
}

// A new series is a new recording (or none): its events replace the previous one's. In a trip the
// recording's part of the trip is refreshed from them too.
void CEventPresenter::OnSeriesSetUp() {
    m_recordingEvents = EventsOfCurve(*m_pCurve, m_thresholds);
    if (m_bTrip)
        ShowTrip(std::move(m_trip));
    else
        ShowRecording();
}

void CEventPresenter::ShowMarks() {
    std::vector<SliderTimeMark> sliderMarks;
    std::vector<CurveSpanMark> curveMarks;
    for (const GForceEvent& event : m_recordingEvents) {
        sliderMarks.push_back({static_cast<uint32_t>(event.timeMs), EventKindColour(event.kind)});
        curveMarks.push_back({event.firstSample, event.lastSample, EventKindColour(event.kind)});
    }
    m_pSlider->SetTimeMarks(std::move(sliderMarks));
    m_pCurve->SetSpanMarks(std::move(curveMarks));
    if (!m_pTripBar) return;
    std::vector<TripBarMark> tripMarks;
    if (m_bTrip)
        for (const EventItem& item : m_items)
            tripMarks.push_back({item.lineMs, EventKindColour(item.kind)});
    m_pTripBar->SetEventMarks(std::move(tripMarks));
}

void CEventPresenter::FillList() {
    m_pList->clear();
    for (const EventItem& item : m_items)
        m_pList->addItem(EventListLine(item.lineMs, KindText(item.kind), item.peakG));
    m_pList->setAccessibleDescription(m_items.empty() ? LangText(IDS_NO_EVENTS) : QString());
}

void CEventPresenter::Retranslate() {
    m_pList->setAccessibleName(LangText(IDS_EVENTS));
    const int row = m_pList->currentRow();
    FillList();
    m_pList->setCurrentRow(row);
}

void CEventPresenter::OnItemActivated(QListWidgetItem* line) {
    const int row = m_pList->row(line);
    if (row >= 0 && size_t(row) < m_items.size()) GoTo(size_t(row));
}

int64_t CEventPresenter::NowOnLineMs() const {
    const int64_t now = m_nowMs ? m_nowMs() : int64_t(m_pSlider->CurrentMs());
    if (!m_bTrip) return now;
    const int entry = m_currentEntry();
    for (const RecordingEvents& recording : m_trip)
        if (recording.entryIndex == entry) return recording.offsetMs + now;
    return now;
}

void CEventPresenter::GoToNext() {
    if (const auto index = NextEventIndex(m_items, NowOnLineMs())) GoTo(*index);
}

void CEventPresenter::GoToPrevious() {
    if (const auto index = PreviousEventIndex(m_items, NowOnLineMs())) GoTo(*index);
}

void CEventPresenter::GoTo(size_t index) {
    m_pList->setCurrentRow(int(index));
    emit seekRequested(m_items[index].entryIndex, m_items[index].recordingMs);
}
