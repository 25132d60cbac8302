// The window's evidence exports: the clip marks on the seek slider, "Export clip..." of the open
// recording at the session's time, and the GPX, CSV and SRT files of the open recording or the
// playing trip beside the KML export.
#include "main_window.h"

#include "clip_commands.h"
#include "control_ids.h"
#include "playback_session.h"
#include "track_file_commands.h"
#include "trip_presenter.h"
#include "video_slider.h"

namespace {
const QColor kClipStartColour(0, 200, 255);
const QColor kClipEndColour(255, 140, 0);
} // namespace

void COrvexMainWindow::InitEvidenceExports() {
    m_pClips = new CClipCommands(this, [this] {
        const RecordingPlan& plan = Session()->Plan();
        return OpenRecording{plan.front, plan.rear, Session()->SeekBaseMs()};
    });
    auto* slider = Child<CVideoSlider>(IDC_SEEK_SLIDER);
    m_pClips->SetMarksView([slider](std::optional<int64_t> start, std::optional<int64_t> end) {
        std::vector<SliderTimeMark> marks;
        if (start) marks.push_back({static_cast<uint32_t>(*start), kClipStartColour});
        if (end) marks.push_back({static_cast<uint32_t>(*end), kClipEndColour});
        if (slider) slider->SetTimeMarks(std::move(marks), SliderMarkLayer::kClip);
    });
    connect(Session(), &PlaybackSession::recordingOpened, m_pClips, &CClipCommands::OnRecordingOpened);

    // While a trip plays its leading recordings in driving order, else the open recording.
    m_pTrackFiles = new CTrackFileCommands(this, [this] {
        std::vector<size_t> entries;
        if (!EndTripOfOldCatalog() && m_pTrips->Playing()) {
            const CTrip& trip = *m_pTrips->PlayingTrip();
            for (size_t position : trip.Timeline())
                entries.push_back(trip.Recordings()[position].entry);
        } else if (CurrentEntryIndex() >= 0) {
            entries.push_back(static_cast<size_t>(CurrentEntryIndex()));
        }
        std::vector<TrackFileSource> sources;
        for (size_t index : entries)
            if (index < Catalog().Entries().size())
                sources.push_back({Catalog().EntryPath(index), Catalog().Entries()[index].m_MediaInfo});
        return sources;
    });
}
