// The libVLC objects one engine plays with at a time: an instance, its player, the media last given
// to it and the player's event manager, with a reference of its own to the loaded library, so that a
// set left to finish on a worker thread keeps the library loaded however long that takes.
// Releasing a set stops its player (libVLC waits for the input thread, which may wait for a card):
// the engine lets that happen on a worker, never on the UI thread.
#pragma once

#include "libvlc_entry_points.h"

#include <cstdint>
#include <string>

class CVlcPlayerSet {
  public:
    // Takes its own reference to the library of path and creates instance, player and event manager
    // with argument set argSet (1 = configured, else plain). Usable() tells whether all of it worked.
    CVlcPlayerSet(const char* libraryPath, int argSet);
    // Releases media, player, instance and the library reference.
    ~CVlcPlayerSet();
    CVlcPlayerSet(const CVlcPlayerSet&) = delete;
    CVlcPlayerSet& operator=(const CVlcPlayerSet&) = delete;

    bool Usable() const { return m_pEventManager != nullptr; }
    const VlcEntryPoints& Table() const { return m_table; }
    libvlc_media_player_t* Player() const { return m_pPlayer; }
    // True once a media was given to the player.
    bool HasMedia() const { return m_pMedia != nullptr; }

    void AttachEvents(libvlc_callback_t callback, void* user);
    // Detaches them again: once it returns no callback of this player runs or will run (libVLC
    // holds the event manager's lock while it calls them).
    void DetachEvents(libvlc_callback_t callback, void* user);
    void BindWindow(uint32_t window);
    // Makes a media of the file system's bytes with its options and gives it to the player (which
    // stops whatever it played: call it on a worker). Key and mouse input go off.
    bool SetMedia(const std::string& path, bool software, bool silent);
    // Sets pause explicitly where the library has it, else toggles.
    void SetPause(bool pause);

  private:
    void* m_hModule = nullptr;
    VlcEntryPoints m_table;
    libvlc_instance_t* m_pInstance = nullptr;
    libvlc_media_player_t* m_pPlayer = nullptr;
    libvlc_media_t* m_pMedia = nullptr;
    libvlc_event_manager_t* m_pEventManager = nullptr;
};
