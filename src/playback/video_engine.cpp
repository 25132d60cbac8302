#include "video_engine.h"

#include <QFile>
#include <csignal>
#include <dlfcn.h>
#include <iterator>

namespace {

// Plain set: no interface, no configuration file, so every engine behaves the same wherever it runs.
const char* const kPlainArguments[] = {"-I", "dummy", "--ignore-config"};
// Configured set: libVLC reads its own configuration, and the picture is turned by 180 degrees
// (the transform filter), which is what selecting this set for the rotate command promises.
const char* const kConfiguredArguments[] = {"--video-filter=transform", "--transform-type=180"};

// Events attached to every player, in this order, all with the same callback and user data.
const libvlc_event_type_t kAttachedEvents[] = {
    libvlc_MediaPlayerPositionChanged, libvlc_MediaPlayerSeekableChanged, libvlc_MediaPlayerTimeChanged,
    libvlc_MediaStateChanged,          libvlc_MediaPlayerMediaChanged,    libvlc_MediaPlayerOpening,
    libvlc_MediaPlayerBuffering,       libvlc_MediaPlayerPlaying,         libvlc_MediaPlayerPaused,
    libvlc_MediaPlayerStopped,         libvlc_MediaPlayerEndReached,      libvlc_MediaPlayerEncounteredError,
};

// libVLC writes to sockets and pipes (sound server, session bus) whose far end may be gone; a broken
// pipe signal would end the whole viewer. Blocked in the creating thread, so every thread it starts
// later (libVLC's own, and players started from here) inherits the block, as libVLC asks of its hosts.
void BlockBrokenPipeSignal() {
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGPIPE);
    pthread_sigmask(SIG_BLOCK, &set, nullptr);
}

} // namespace

CVideoEngine::CVideoEngine() {
    BlockBrokenPipeSignal();
    m_hModule = dlopen(VlcLibraryName(), RTLD_NOW | RTLD_LOCAL);
    if (!m_hModule) {
        m_bOk = 0;
        return;
    }
    // A library without one of the table's functions would crash at the first call: unusable.
    if (!LoadVlcEntryPoints(m_hModule, m_table) || !CreateInstance()) {
        ReleaseInstance();
        m_bOk = 0;
        return;
    }
    m_table.audio_set_volume(m_pPlayer, m_nVolume);
}

CVideoEngine::~CVideoEngine() {
    ReleaseInstance();
    if (m_hModule) dlclose(m_hModule);
}

bool CVideoEngine::CreateInstance() {
    auto vlcNew = FindVlcFunction<decltype(libvlc_new)>(m_hModule, "libvlc_new");
    auto playerNew = FindVlcFunction<decltype(libvlc_media_player_new)>(m_hModule, "libvlc_media_player_new");
    auto eventManager = FindVlcFunction<decltype(libvlc_media_player_event_manager)>(
        m_hModule, "libvlc_media_player_event_manager");
    if (!vlcNew || !playerNew || !eventManager) return false;
    if (m_nArgSet == 1)
        m_pInstance = vlcNew(std::size(kConfiguredArguments), kConfiguredArguments);
    else
        m_pInstance = vlcNew(std::size(kPlainArguments), kPlainArguments);
    if (!m_pInstance) return false;
    m_pPlayer = playerNew(m_pInstance);
    if (!m_pPlayer) return false;
    m_pEventManager = eventManager(m_pPlayer);
    return m_pEventManager != nullptr;
}

// Releases whatever exists of media, player and instance, clearing each handle.
void CVideoEngine::ReleaseInstance() {
    if (m_pMedia) {
        if (auto release = FindVlcFunction<decltype(libvlc_media_release)>(m_hModule, "libvlc_media_release"))
            release(m_pMedia);
        m_pMedia = nullptr;
    }
    if (m_pPlayer) {
        if (auto release = FindVlcFunction<decltype(libvlc_media_player_release)>(
                m_hModule, "libvlc_media_player_release"))
            release(m_pPlayer);
        m_pPlayer = nullptr;
    }
    m_pEventManager = nullptr;
    if (m_pInstance) {
        if (auto release = FindVlcFunction<decltype(libvlc_release)>(m_hModule, "libvlc_release"))
            release(m_pInstance);
        m_pInstance = nullptr;
    }
}

void CVideoEngine::AttachEvents(libvlc_callback_t callback, void* user) {
    if (!m_bOk) return;
    m_pfnEventCallback = callback;
    m_pEventUser = user;
    AttachStoredEvents();
}

void CVideoEngine::AttachStoredEvents() {
    auto attach = FindVlcFunction<decltype(libvlc_event_attach)>(m_hModule, "libvlc_event_attach");
    if (!attach || !m_pEventManager || !m_pfnEventCallback) return;
    for (libvlc_event_type_t type : kAttachedEvents)
        attach(m_pEventManager, type, m_pfnEventCallback, m_pEventUser); // results ignored
}

int CVideoEngine::Rebuild(int argSet) {
    m_nArgSet = argSet;
    if (!m_bOk || !m_pMedia) return 0;
    ReleaseInstance();
    if (!CreateInstance()) {
        ReleaseInstance();
        m_bOk = 0;
        return 0;
    }
    AttachStoredEvents();
    m_table.audio_set_volume(m_pPlayer, m_nVolume);
    return 1;
}

void CVideoEngine::BindWindow(WId window) {
    if (!m_bOk) return;
    auto setWindow = FindVlcFunction<decltype(libvlc_media_player_set_xwindow)>(
        m_hModule, "libvlc_media_player_set_xwindow");
    if (setWindow) setWindow(m_pPlayer, static_cast<uint32_t>(window));
}

int CVideoEngine::Open(const QString& path, WId window, bool silent, bool play) {
    return Open(std::filesystem::path(QFile::encodeName(path).toStdString()), window, silent, play);
}

int CVideoEngine::Open(const std::filesystem::path& path, WId window, bool silent, bool play) {
    if (window) BindWindow(window);
    if (m_bOk) m_table.audio_set_volume(m_pPlayer, m_nVolume);
    // libVLC makes its file URL from these bytes itself (each byte outside ASCII percent-encoded),
    // so a name that is not UTF-8, as an old FAT card gives, opens as it is on disk.
    m_strPathUtf8 = path.native();
    if (!m_bOk) return 0;
    libvlc_media_t* media = m_table.media_new_path(m_pInstance, m_strPathUtf8.c_str());
    if (!media) return 0;
    // The transform filter that turns the picture cannot work on hardware surfaces (libVLC would drop
    // every filter), so the turned picture is decoded in software.
    m_table.media_add_option(media, m_nArgSet == 1 ? ":avcodec-hw=none" : ":avcodec-hw=any");
    if (silent) m_table.media_add_option(media, ":no-audio");
    m_table.media_player_set_media(m_pPlayer, media);
    // The player keeps its own reference; ours to the previous media is no longer needed.
    if (m_pMedia) {
        if (auto release = FindVlcFunction<decltype(libvlc_media_release)>(m_hModule, "libvlc_media_release"))
            release(m_pMedia);
    }
    m_pMedia = media;
    m_table.video_set_key_input(m_pPlayer, 0);
    m_table.video_set_mouse_input(m_pPlayer, 0);
    if (play && m_table.media_player_play(m_pPlayer) == 0) {
        m_bPlaying = 1;
        m_bPaused = 0;
    }
    return 1;
}

int CVideoEngine::Play() {
    return m_bOk ? m_table.media_player_play(m_pPlayer) : -1;
}

void CVideoEngine::Pause() {
    if (m_bOk) m_table.media_player_pause(m_pPlayer);
}

void CVideoEngine::Stop() {
    if (m_bOk) m_table.media_player_stop(m_pPlayer);
    m_bPlaying = 0;
    m_bPaused = 0;
}

void CVideoEngine::SetPlayerPause(bool pause) {
    auto setPause =
        FindVlcFunction<decltype(libvlc_media_player_set_pause)>(m_hModule, "libvlc_media_player_set_pause");
    if (setPause)
        setPause(m_pPlayer, pause ? 1 : 0);
    else
        m_table.media_player_pause(m_pPlayer);
}

bool CVideoEngine::PausePlaying() {
    if (!m_bOk || !m_bPlaying) return false;
    SetPlayerPause(true);
    m_bPlaying = 0;
    m_bPaused = 1;
    return true;
}

bool CVideoEngine::ResumePaused() {
    if (!m_bOk || !m_bPaused) return false;
    if (m_table.media_player_play(m_pPlayer) != 0) return false;
    m_bPlaying = 1;
    m_bPaused = 0;
    return true;
}

void CVideoEngine::SetVolume(int volume) {
    m_nVolume = volume;
    if (m_bOk) m_table.audio_set_volume(m_pPlayer, volume);
}

void CVideoEngine::SetMute(bool mute) {
    if (m_bOk) m_table.audio_set_mute(m_pPlayer, mute ? 1 : 0);
}

void CVideoEngine::SetTime(int64_t ms) {
    if (m_bOk) m_table.media_player_set_time(m_pPlayer, ms);
}

int64_t CVideoEngine::GetTime() {
    return m_bOk ? m_table.media_player_get_time(m_pPlayer) : 0;
}

int64_t CVideoEngine::GetLength() {
    if (!m_bOk) return 0;
    const int64_t length = m_table.media_player_get_length(m_pPlayer);
    return length > 0 ? length : 0;
}

int CVideoEngine::SetRate(float rate) {
    if (!m_bOk) return -1;
    m_fRate = rate;
    return m_table.media_player_set_rate(m_pPlayer, rate);
}

int CVideoEngine::TakeSnapshot(const QString& path) {
    if (!m_bOk) return -1;
    return m_table.video_take_snapshot(m_pPlayer, 0, QFile::encodeName(path).constData(), 0, 0);
}
