// The libVLC functions the viewer calls, taken by name from the library loaded at run time.
// libVLC's headers serve only for the types; nothing links against libvlc.
#pragma once

#include <vlc/vlc.h>

// The entry-point table of one engine, in the order it is filled.
struct VlcEntryPoints {
    decltype(&libvlc_media_player_play) media_player_play = nullptr;
    decltype(&libvlc_media_player_pause) media_player_pause = nullptr;
    decltype(&libvlc_media_player_stop) media_player_stop = nullptr;
    decltype(&libvlc_audio_set_volume) audio_set_volume = nullptr;
    decltype(&libvlc_audio_get_volume) audio_get_volume = nullptr;
    decltype(&libvlc_media_new_path) media_new_path = nullptr;
    decltype(&libvlc_media_add_option) media_add_option = nullptr;
    decltype(&libvlc_media_player_set_media) media_player_set_media = nullptr;
    decltype(&libvlc_video_set_key_input) video_set_key_input = nullptr;
    decltype(&libvlc_video_set_mouse_input) video_set_mouse_input = nullptr;
    decltype(&libvlc_media_player_set_time) media_player_set_time = nullptr;
    decltype(&libvlc_media_player_get_time) media_player_get_time = nullptr;
    decltype(&libvlc_media_player_get_length) media_player_get_length = nullptr;
    decltype(&libvlc_audio_set_track) audio_set_track = nullptr;
    decltype(&libvlc_audio_get_track) audio_get_track = nullptr;
    decltype(&libvlc_audio_set_channel) audio_set_channel = nullptr;
    decltype(&libvlc_audio_set_mute) audio_set_mute = nullptr;
    decltype(&libvlc_audio_get_mute) audio_get_mute = nullptr;
    decltype(&libvlc_video_take_snapshot) video_take_snapshot = nullptr;
    // Spelled out: libVLC 3 marks these two deprecated (they are never called).
    int (*video_get_width)(libvlc_media_player_t*) = nullptr;
    int (*video_get_height)(libvlc_media_player_t*) = nullptr;
    decltype(&libvlc_media_player_next_frame) media_player_next_frame = nullptr;
    decltype(&libvlc_media_player_set_rate) media_player_set_rate = nullptr;
    decltype(&libvlc_media_player_get_state) media_player_get_state = nullptr;
};

// Fills the table from a loaded library; true only when every entry point was found.
bool LoadVlcEntryPoints(void* module, VlcEntryPoints& table);

// A function of the loaded library taken by name for one call, not kept (null when missing).
void* FindVlcSymbol(void* module, const char* name);

template <typename Function> Function* FindVlcFunction(void* module, const char* name) {
    return reinterpret_cast<Function*>(FindVlcSymbol(module, name));
}

// Library file to load: "libvlc.so.5", or the file named by VELTRIX_LIBVLC_PATH (tests use it to
// exercise a missing or incomplete library).
const char* VlcLibraryName();
