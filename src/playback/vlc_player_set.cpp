#include "vlc_player_set.h"

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

} // namespace

CVlcPlayerSet::CVlcPlayerSet(const char* libraryPath, int argSet) {
    m_hModule = dlopen(libraryPath, RTLD_NOW | RTLD_LOCAL);
    // A library without one of the table's functions would crash at the first call: unusable.
    if (!m_hModule || !LoadVlcEntryPoints(m_hModule, m_table)) return;
    auto vlcNew = FindVlcFunction<decltype(libvlc_new)>(m_hModule, "libvlc_new");
    auto playerNew = FindVlcFunction<decltype(libvlc_media_player_new)>(m_hModule, "libvlc_media_player_new");
    auto eventManager = FindVlcFunction<decltype(libvlc_media_player_event_manager)>(
        m_hModule, "libvlc_media_player_event_manager");
    if (!vlcNew || !playerNew || !eventManager) return;
    if (argSet == 1)
        m_pInstance = vlcNew(std::size(kConfiguredArguments), kConfiguredArguments);
    else
        m_pInstance = vlcNew(std::size(kPlainArguments), kPlainArguments);
    if (!m_pInstance) return;
    m_pPlayer = playerNew(m_pInstance);
    if (!m_pPlayer) return;
    m_pEventManager = eventManager(m_pPlayer);
}

CVlcPlayerSet::~CVlcPlayerSet() {
    if (m_pMedia) {
        if (auto release = FindVlcFunction<decltype(libvlc_media_release)>(m_hModule, "libvlc_media_release"))
            release(m_pMedia);
    }
    if (m_pPlayer) {
        if (auto release = FindVlcFunction<decltype(libvlc_media_player_release)>(
                m_hModule, "libvlc_media_player_release"))
            release(m_pPlayer);
    }
    if (m_pInstance) {
        if (auto release = FindVlcFunction<decltype(libvlc_release)>(m_hModule, "libvlc_release"))
            release(m_pInstance);
    }
    if (m_hModule) dlclose(m_hModule);
}

void CVlcPlayerSet::AttachEvents(libvlc_callback_t callback, void* user) {
    auto attach = FindVlcFunction<decltype(libvlc_event_attach)>(m_hModule, "libvlc_event_attach");
    if (!attach || !m_pEventManager || !callback) return;
    for (libvlc_event_type_t type : kAttachedEvents)
        attach(m_pEventManager, type, callback, user); // results ignored
}

void CVlcPlayerSet::DetachEvents(libvlc_callback_t callback, void* user) {
    auto detach = FindVlcFunction<decltype(libvlc_event_detach)>(m_hModule, "libvlc_event_detach");
    if (!detach || !m_pEventManager || !callback) return;
    for (libvlc_event_type_t type : kAttachedEvents)
        detach(m_pEventManager, type, callback, user);
}

void CVlcPlayerSet::BindWindow(uint32_t window) {
    if (!Usable()) return;
    auto setWindow = FindVlcFunction<decltype(libvlc_media_player_set_xwindow)>(
        m_hModule, "libvlc_media_player_set_xwindow");
    if (setWindow) setWindow(m_pPlayer, window);
}

bool CVlcPlayerSet::SetMedia(const std::string& path, bool software, bool silent) {
    if (!Usable()) return false;
    // libVLC makes its file URL from these bytes itself (each byte outside ASCII percent-encoded),
    // so a name that is not UTF-8, as an old FAT card gives, opens as it is on disk.
    libvlc_media_t* media = m_table.media_new_path(m_pInstance, path.c_str());
    if (!media) return false;
    // The transform filter that turns the picture cannot work on hardware surfaces (libVLC would drop
    // every filter), so the turned picture is decoded in software.
    m_table.media_add_option(media, software ? ":avcodec-hw=none" : ":avcodec-hw=any");
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
    return true;
}

void CVlcPlayerSet::SetPause(bool pause) {
    auto setPause =
        FindVlcFunction<decltype(libvlc_media_player_set_pause)>(m_hModule, "libvlc_media_player_set_pause");
    if (setPause)
        setPause(m_pPlayer, pause ? 1 : 0);
    else
        m_table.media_player_pause(m_pPlayer);
}
