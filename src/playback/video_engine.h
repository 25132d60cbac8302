// One libVLC instance with one media player, loaded at run time. The main window owns two of them
// (front and rear); each is a complete, independent instance. An engine whose library, entry points,
// instance or player could not be had is unusable (m_bOk 0) and every operation on it does nothing.
#pragma once

#include "libvlc_entry_points.h"

#include <QString>
#include <QtGui/qwindowdefs.h>
#include <atomic>
#include <cstdint>
#include <filesystem>
#include <string>

class CVideoEngine {
  public:
    // Loads the library and creates the instance with the plain argument set.
    CVideoEngine();
    // Releases the media, the player, the instance and the library. Stops the player, so the event
    // callbacks may still run during it: whatever they reach must outlive the engine.
    ~CVideoEngine();
    CVideoEngine(const CVideoEngine&) = delete;
    CVideoEngine& operator=(const CVideoEngine&) = delete;

    // Stores the callback and its user data and attaches the player's twelve events to them.
    void AttachEvents(libvlc_callback_t callback, void* user);
    // Re-creates instance and player with argument set argSet (1 = configured, else plain).
    // Returns 1 on success; 0 when unusable or nothing was opened yet (argSet is kept for next time).
    int Rebuild(int argSet);
    // Binds the player to a native window (the pane's winId()); the binding is lost by a rebuild.
    void BindWindow(WId window);
    // The opening sequence: bind to window (when not 0), volume, path, media with its options
    // (":no-audio" when silent), media to the player, key and mouse input off, play when asked
    // (then m_bPlaying = 1, m_bPaused = 0). Returns 1 when the media was given to the player.
    // The path goes to libVLC as the file system's bytes, whatever they are.
    int Open(const std::filesystem::path& path, WId window, bool silent, bool play);
    // The same for a name that Qt itself made (a temporary or dialog path); names read from a card
    // must take the path overload, since Qt cannot hold bytes that are not UTF-8.
    int Open(const QString& path, WId window, bool silent, bool play);

    int Play();   // start or resume; 0 on success, -1 on failure or when unusable
    void Pause(); // toggles pause
    // Stops the player (synchronous in libVLC: it waits for the input and the running callbacks)
    // and clears the playing and paused flags.
    void Stop();
    // Play or pause by the state asked for, never a toggle: pausing acts only on a playing player,
    // resuming only on a paused one. True when the state changed.
    bool PausePlaying();
    bool ResumePaused();
    int Volume() const { return m_nVolume; } // as given at the last SetVolume
    float Rate() const { return m_fRate; }   // as given at the last SetRate
    bool IsPlaying() const { return m_bPlaying != 0; }
    bool IsPaused() const { return m_bPaused != 0; }
    // Usable and playing, or paused as well when countPaused: the engine counts for time and length.
    bool IsActive(bool countPaused) const {
        return m_bOk != 0 && (m_bPlaying != 0 || (countPaused && m_bPaused != 0));
    }
    void SetVolume(int volume); // 0..200 (libVLC's scale), kept in m_nVolume for the next open
    void SetMute(bool mute);
    void SetTime(int64_t ms);
    int64_t GetTime();       // milliseconds; 0 when unusable, -1 when nothing plays
    int64_t GetLength();     // milliseconds; 0 when unusable or unknown
    int SetRate(float rate); // 0 on success; kept in m_fRate
    // Saves the current picture at its own size to path (libVLC writes PNG); 0 on success.
    int TakeSnapshot(const QString& path);

    bool IsUsable() const { return m_bOk != 0; }
    // Front engine rule of the callbacks: the controller started or resumed it and it can play.
    bool IsUsableAndPlaying() const { return m_bOk != 0 && m_bPlaying != 0; }

    // The handles and flags below are written only by this class's operations once the main window
    // plays through PlaybackSession; they stay public until then and become private after it.
    libvlc_instance_t* m_pInstance = nullptr;
    libvlc_media_player_t* m_pPlayer = nullptr;
    libvlc_media_t* m_pMedia = nullptr; // media of the file last opened; the player holds its own reference
    libvlc_event_manager_t* m_pEventManager = nullptr;
    void* m_pEventUser = nullptr;
    libvlc_callback_t m_pfnEventCallback = nullptr;
    void* m_hModule = nullptr;
    std::string m_strPathUtf8; // the path last opened, as the file system's bytes
    // Read by the event callbacks on libVLC's threads, written on the UI thread: atomic words.
    std::atomic<int> m_bOk{1};
    std::atomic<int> m_bPlaying{0};
    std::atomic<int> m_bPaused{0};
    int m_nArgSet = 0;
    int m_nVolume = 0;
    float m_fRate = 1.0f;
    VlcEntryPoints m_table;

  private:
    // Sets the player's pause explicitly (libvlc_media_player_set_pause, taken by name); a library
    // without it gets the toggle, which the callers use only when the state says it applies.
    void SetPlayerPause(bool pause);
    bool CreateInstance();
    void AttachStoredEvents();
    void ReleaseInstance();
};
