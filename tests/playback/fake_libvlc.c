/* A stand-in for libvlc.so.5 that loads but cannot serve: either an entry point of the table is missing
   (VELTRIX_FAKE_INCOMPLETE) or every entry point exists and libvlc_new fails. Never called otherwise. */
#include <stddef.h>

#define STUB(name) \
    int name(void) { return -1; }

STUB(libvlc_media_player_play)
STUB(libvlc_media_player_pause)
STUB(libvlc_media_player_stop)
STUB(libvlc_audio_set_volume)
STUB(libvlc_audio_get_volume)
STUB(libvlc_media_new_path)
STUB(libvlc_media_add_option)
STUB(libvlc_media_player_set_media)
STUB(libvlc_video_set_key_input)
STUB(libvlc_video_set_mouse_input)
STUB(libvlc_media_player_set_time)
STUB(libvlc_media_player_get_time)
STUB(libvlc_media_player_get_length)
STUB(libvlc_audio_set_track)
STUB(libvlc_audio_get_track)
STUB(libvlc_audio_set_channel)
STUB(libvlc_audio_set_mute)
STUB(libvlc_audio_get_mute)
STUB(libvlc_video_take_snapshot)
STUB(libvlc_video_get_width)
STUB(libvlc_video_get_height)
STUB(libvlc_media_player_next_frame)
#ifndef VELTRIX_FAKE_INCOMPLETE
STUB(libvlc_media_player_set_rate)
#endif
STUB(libvlc_media_player_get_state)

void* libvlc_new(int argc, const char* const* argv) {
    (void)argc;
    (void)argv;
    return NULL;
}
