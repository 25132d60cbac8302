#include "libvlc_entry_points.h"

#include <cstdlib>
#include <dlfcn.h>

namespace {

template <typename Pointer> bool Take(void* module, const char* name, Pointer& slot) {
    slot = reinterpret_cast<Pointer>(dlsym(module, name));
    return slot != nullptr;
}

} // namespace

bool LoadVlcEntryPoints(void* module, VlcEntryPoints& t) {
    if (!module) return false;
    // Every entry is looked up even after a miss, so the table is filled as far as the library allows.
    bool all = true;
    all &= Take(module, "libvlc_media_player_play", t.media_player_play);
    all &= Take(module, "libvlc_media_player_pause", t.media_player_pause);
    all &= Take(module, "libvlc_media_player_stop", t.media_player_stop);
    all &= Take(module, "libvlc_audio_set_volume", t.audio_set_volume);
    all &= Take(module, "libvlc_audio_get_volume", t.audio_get_volume);
    all &= Take(module, "libvlc_media_new_path", t.media_new_path);
    all &= Take(module, "libvlc_media_add_option", t.media_add_option);
    all &= Take(module, "libvlc_media_player_set_media", t.media_player_set_media);
    all &= Take(module, "libvlc_video_set_key_input", t.video_set_key_input);
    all &= Take(module, "libvlc_video_set_mouse_input", t.video_set_mouse_input);
    all &= Take(module, "libvlc_media_player_set_time", t.media_player_set_time);
    all &= Take(module, "libvlc_media_player_get_time", t.media_player_get_time);
    all &= Take(module, "libvlc_media_player_get_length", t.media_player_get_length);
    all &= Take(module, "libvlc_audio_set_track", t.audio_set_track);
    all &= Take(module, "libvlc_audio_get_track", t.audio_get_track);
    all &= Take(module, "libvlc_audio_set_channel", t.audio_set_channel);
    all &= Take(module, "libvlc_audio_set_mute", t.audio_set_mute);
    all &= Take(module, "libvlc_audio_get_mute", t.audio_get_mute);
    all &= Take(module, "libvlc_video_take_snapshot", t.video_take_snapshot);
    all &= Take(module, "libvlc_video_get_width", t.video_get_width);
    all &= Take(module, "libvlc_video_get_height", t.video_get_height);
    all &= Take(module, "libvlc_media_player_next_frame", t.media_player_next_frame);
    all &= Take(module, "libvlc_media_player_set_rate", t.media_player_set_rate);
    all &= Take(module, "libvlc_media_player_get_state", t.media_player_get_state);
    return all;
}

void* FindVlcSymbol(void* module, const char* name) {
    return module ? dlsym(module, name) : nullptr;
}

const char* VlcLibraryName() {
    const char* path = std::getenv("VELTRIX_LIBVLC_PATH");
    return (path && *path) ? path : "libvlc.so.5";
}
