// The events part of the window: finds the G-force events of the open recording when its G-sensor
// series reaches the curve (the telemetry presenter loads it; nothing here reads a file), and
// shows them as marks on the seek slider, the curve and the trip bar and as lines of the Events
// list. Activating a line, Next event and Previous event ask for a seek through seekRequested; the
// window carries it out.
//
// While a trip is shown (ShowTrip), the list, the trip bar's marks and the steps cover every
// recording of the trip on its time line; the slider and the curve keep the open recording's.
// UI thread only.
#pragma once

#include <QObject>

#include <cstdint>
#include <functional>
#include <utility>
#include <vector>

#include "event_items.h"
#include "gforce_events.h"

class CGSensorCtrl;
class CTripBar;
class CVideoSlider;
class QListWidget;
class QListWidgetItem;

// The events of the series a curve shows, with its rate and full scale.
std::vector<GForceEvent> EventsOfCurve(const CGSensorCtrl& curve, const EventThresholds& thresholds);

class CEventPresenter : public QObject {
    Q_OBJECT
  public:
    // `currentEntry` names the catalog entry whose series the curve shows.
    CEventPresenter(CGSensorCtrl* curve, CVideoSlider* slider, QListWidget* list,
                    const EventThresholds& thresholds, std::function<int()> currentEntry,
                    QObject* parent = nullptr);

    // Where playback stands in the open recording, for the steps (default: the slider's time).
    void SetClock(std::function<int64_t()> nowMs) { m_nowMs = std::move(nowMs); }
    // The trip bar that gets the marks of a trip (none: trips show no bar marks).
    void SetTripBar(CTripBar* bar);
    // Shows the events of every recording of a trip, each at its place in the trip.
    void ShowTrip(std::vector<RecordingEvents> recordings);
    // Back to the open recording's own events.
    void ShowRecording();
    bool ShowsTrip() const { return m_bTrip; }

    // What is listed, in time order.
    const std::vector<EventItem>& Items() const { return m_items; }
    // The events of the open recording alone (the slider and curve marks).
    const std::vector<GForceEvent>& RecordingEventsShown() const { return m_recordingEvents; }
    const EventThresholds& Thresholds() const { return m_thresholds; }

    // Next event / Previous event from where playback stands; nothing when there is none.
    void GoToNext();
    void GoToPrevious();
    // The kinds' words again, after a language change.
    void Retranslate();

  signals:
    // Play the entry's recording from this moment of it.
    void seekRequested(int entryIndex, int64_t recordingMs);

  private:
    void OnSeriesSetUp();
    void OnItemActivated(QListWidgetItem* line);
    void ShowMarks();
    void FillList();
    void GoTo(size_t index);
    int64_t NowOnLineMs() const;

    CGSensorCtrl* m_pCurve;
    CVideoSlider* m_pSlider;
    QListWidget* m_pList;
    CTripBar* m_pTripBar = nullptr;
    EventThresholds m_thresholds;
    std::function<int()> m_currentEntry;
    std::function<int64_t()> m_nowMs;
    std::vector<GForceEvent> m_recordingEvents;
    std::vector<RecordingEvents> m_trip;
    std::vector<EventItem> m_items;
    bool m_bTrip = false;
};
