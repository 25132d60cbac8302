#include "window_commands.h"

#include "command_table.h"
#include "clip_commands.h"
#include "control_ids.h"
#include "event_presenter.h"
#include "evidence_texts.h"
#include "main_window.h"
#include "playback_session.h"
#include "string_tables.h"
#include "track_file_commands.h"
#include "trip_summary_text.h"
#include "window_modes.h"

#include <algorithm>

namespace {

using W = COrvexMainWindow;

QList<QKeySequence> Keys(std::initializer_list<QKeyCombination> keys) {
    QList<QKeySequence> list;
    for (QKeyCombination key : keys)
        list.append(QKeySequence(key));
    return list;
}

// The arrow keys: 5 s from where playback is (or is about to be), inside the recording.
void KeySeek(W& w, int direction) {
    PlaybackSession* session = w.Session();
    const int64_t length = session->LeadingLengthMs(true);
    if (length > 0) session->SeekTo(KeySeekTargetMs(session->SeekBaseMs(), length, direction));
}

void KeyVolume(W& w, int direction) {
    w.Session()->SetVolume(KeyVolumePosition(w.Session()->VolumePercent(), direction));
}

} // namespace

// The handlers only call operations of the window or its parts. Defined as the window's friend,
// so that they may reach its protected operations.
const std::vector<WindowCommand>& WindowCommands() {
    constexpr auto Ctrl = Qt::ControlModifier;
    constexpr auto Keypad = Qt::KeypadModifier;
    static const std::vector<WindowCommand> table = {
        {IDC_OPEN, 210, ButtonLook{150, 0, 0, true}, Keys({Ctrl | Qt::Key_O}), false, [](W& w) { w.OpenSource(); }},
        {IDC_PREVIOUS, IDS_ACC_PREVIOUS_FILE, ButtonLook{258, 0, 0, true}, Keys({Qt::Key_PageUp}), false, [](W& w) { w.Previous(); }},
        {IDC_NEXT, IDS_ACC_NEXT_FILE, ButtonLook{257, 0, 0, true}, Keys({Qt::Key_PageDown}), false, [](W& w) { w.Next(); }},
        {IDC_PLAY, 141, ButtonLook{133, 137, 0, true}, Keys({Qt::Key_Space}), true, [](W& w) { w.PlayPause(); }},
        {IDC_STOP, 216, ButtonLook{139, 0, 0, false}, {}, false, [](W& w) { w.StopPlayback(); }},
        {IDC_SLOWER, 215, ButtonLook{146, 0, 0, true}, Keys({Qt::Key_Minus, Keypad | Qt::Key_Minus}), false, [](W& w) { w.Slower(); }},
        {IDC_FASTER, 217, ButtonLook{144, 0, 0, true}, Keys({Qt::Key_Plus, Keypad | Qt::Key_Plus}), false, [](W& w) { w.Faster(); }},
        {CMD_SEEK_BACK, IDS_CMD_SEEK_BACK, std::nullopt, Keys({Qt::Key_Left}), false,
         [](W& w) { KeySeek(w, -1); }},
        {CMD_SEEK_FORWARD, IDS_CMD_SEEK_FORWARD, std::nullopt, Keys({Qt::Key_Right}), false,
         [](W& w) { KeySeek(w, 1); }},
        {CMD_NEXT_EVENT, IDS_CMD_NEXT_EVENT, std::nullopt, Keys({Qt::Key_N}), false, [](W& w) { w.Events()->GoToNext(); }},
        {CMD_PREVIOUS_EVENT, IDS_CMD_PREVIOUS_EVENT, std::nullopt, Keys({Qt::ShiftModifier | Qt::Key_N}), false,
         [](W& w) { w.Events()->GoToPrevious(); }},
        {CMD_PLAY_TRIP, IDS_CMD_PLAY_TRIP, std::nullopt, Keys({Qt::Key_T}), false, [](W& w) { w.PlayTripOfOpenRecording(); }},
        {IDC_VOLUME_BUTTON, 220, ButtonLook{184, 183, 0, true}, Keys({Qt::Key_M}), true, [](W& w) { w.ToggleMute(); },
         [](W& w) { return !w.Session()->Muted(); }},
        {CMD_VOLUME_UP, IDS_CMD_VOLUME_UP, std::nullopt, Keys({Qt::Key_Up}), false,
         [](W& w) { KeyVolume(w, 1); }},
        {CMD_VOLUME_DOWN, IDS_CMD_VOLUME_DOWN, std::nullopt, Keys({Qt::Key_Down}), false,
         [](W& w) { KeyVolume(w, -1); }},
        {IDC_SWITCH, IDS_ACC_FRONT_REAR_VIEW, ButtonLook{262, 261, 263, true}, {}, true, [](W& w) { w.SwitchView(); }},
        {IDC_ROTATE, 225, ButtonLook{0, 0, 0, false}, {}, false, [](W& w) { w.Rotate(); }, [](W& w) { return w.Session()->Rotated(); }},
        {CMD_FULL_VIDEO, IDS_CMD_FULL_VIDEO, std::nullopt, Keys({Qt::Key_F}), false, [](W& w) { w.Modes()->ToggleFullVideo(); },
         [](W& w) { return w.Modes()->FullVideo(); }},
        {IDC_SNAPSHOT, 211, ButtonLook{152, 0, 0, false}, Keys({Ctrl | Qt::Key_S}), true, [](W& w) { w.Snapshot(); }},
        {IDC_PRINT, IDS_ACC_PRINT, ButtonLook{256, 0, 0, true}, Keys({Ctrl | Qt::Key_P}), false, [](W& w) { w.Print(); }},
        {IDC_KML, 228, ButtonLook{163, 0, 0, false}, Keys({Ctrl | Qt::Key_E}), false, [](W& w) { w.ExportKml(); }},
        {CMD_EXPORT_GPX, IDS_CMD_EXPORT_GPX, std::nullopt, {}, false,
         [](W& w) { w.TrackFiles()->Export(TrackFileKind::kGpx); }},
        {CMD_EXPORT_CSV, IDS_CMD_EXPORT_CSV, std::nullopt, {}, false,
         [](W& w) { w.TrackFiles()->Export(TrackFileKind::kCsv); }},
        {CMD_EXPORT_SRT, IDS_CMD_EXPORT_SRT, std::nullopt, {}, false,
         [](W& w) { w.TrackFiles()->Export(TrackFileKind::kSrt); }},
        {CMD_CLIP_START, IDS_CMD_CLIP_START, std::nullopt, Keys({Qt::Key_I}), true, [](W& w) { w.Clips()->SetStart(); }},
        {CMD_CLIP_END, IDS_CMD_CLIP_END, std::nullopt, Keys({Qt::Key_O}), false, [](W& w) { w.Clips()->SetEnd(); }},
        {CMD_EXPORT_CLIP, IDS_CMD_EXPORT_CLIP, std::nullopt, {}, false, [](W& w) { w.Clips()->ExportClip(); }},
        {IDC_SAVE_AS, 212, ButtonLook{154, 0, 0, false}, {}, false, [](W& w) { w.OnSaveAs(); }},
        {IDC_DELETE, 213, ButtonLook{156, 0, 0, false}, Keys({Qt::Key_Delete}), false, [](W& w) { w.OnDelete(); }},
        // Checked, and named "Unlock files", when every ticked group is locked: what it would do.
        {IDC_LOCK, 236, ButtonLook{251, 174, 0, false}, {}, false, [](W& w) { w.OnLockToggle(); },
         [](W& w) { return w.InspectTickedGroups().AllLocked(); }, nullptr,
         [](W& w) { return w.InspectTickedGroups().AllLocked() ? 236u : IDS_LOCK_FILES; }},
        {IDC_AUTO_NEXT, 222, ButtonLook{158, 207, 0, false}, {}, true, [](W& w) { w.OnAutoNext(); }, [](W& w) { return w.AutoNextOn(); }},
        {IDC_MAP_SWITCH, 230, ButtonLook{167, 0, 0, false}, {}, false, [](W& w) { w.OnMapSwitch(); }, [](W& w) { return w.Modes()->MapShown(); }},
        {IDC_GSENSOR_SWITCH, 233, ButtonLook{172, 0, 0, false}, {}, false, [](W& w) { w.OnGsensorSwitch(); },
         [](W& w) { return w.Modes()->CurveShown(); }},
        {IDC_SMALL_SIZE, 147, ButtonLook{1047, 0, 0, false}, {}, true, [](W& w) { w.Modes()->PresetSize(IDC_SMALL_SIZE); }},
        {IDC_MEDIUM_SIZE, 149, ButtonLook{219, 0, 0, true}, {}, false, [](W& w) { w.Modes()->PresetSize(IDC_MEDIUM_SIZE); }},
        {IDC_LARGE_SIZE, 151, ButtonLook{221, 0, 0, true}, {}, false, [](W& w) { w.Modes()->PresetSize(IDC_LARGE_SIZE); }},
        {IDC_MINIMIZE, 243, ButtonLook{181, 0, 0, true}, {}, false, [](W& w) { w.Modes()->Minimize(); }},
        {IDC_MAXIMIZE, 241, ButtonLook{180, 0, 0, true}, {}, false, [](W& w) { w.Modes()->MaximizeRestore(); }, [](W& w) { return w.Modes()->Maximized(); }},
        {IDC_CONFIG, 214, ButtonLook{0, 0, 0, false}, {}, true, [](W& w) { w.OnConfiguration(); }},
        {IDC_ABOUT, 246, ButtonLook{182, 0, 0, false}, {}, false, [](W& w) { w.OnAbout(); }},
        {IDC_CLOSE, 238, ButtonLook{179, 0, 0, true}, Keys({Ctrl | Qt::Key_Q}), false, [](W& w) { w.OnClose(); }},
    };
    return table;
}

const WindowCommand* FindWindowCommand(int id) {
    const auto& table = WindowCommands();
    const auto it = std::find_if(table.begin(), table.end(), [id](const WindowCommand& c) { return c.id == id; });
    return it == table.end() ? nullptr : &*it;
}
