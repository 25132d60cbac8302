// One libVLC instance with one media player, loaded at run time. The playback session owns two of
// them (front and rear); each is a complete, independent instance. An engine whose library, entry
// points, instance or player could not be had is unusable and every operation on it does nothing.
//
// Threading: every public function is called on the UI thread. The libVLC calls that can wait for a
// card (a player's stop, a media change, a release) run on the engine's worker thread, in the order
// they were asked for; the other calls run there too while the worker has work, so a player is never
// used by two of our threads at once. The state the functions report (playing, paused, volume, rate,
// path) is the state asked for, set at once. While the worker is busy, the time and length read as
// "nothing plays yet" (-1 and 0) and a snapshot fails, instead of waiting.
// A worker stuck for over kStuckMs (a card that stopped answering) is left behind with its player by
// ReplaceIfStuck: the engine goes on with a fresh instance and player and opens again what was open.
// The left-behind player keeps its instance and the library loaded until its stop returns, which is
// never if the card never answers again; the same happens at destruction instead of freezing.
#pragma once

#include "libvlc_entry_points.h"

#include <QString>
#include <QtGui/qwindowdefs.h>
#include <atomic>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

class CEngineWorker;
class CVlcPlayerSet;

class CVideoEngine {
  public:
    static constexpr int kStuckMs = 1500;

    // Loads the library and creates the instance with the plain argument set.
    CVideoEngine();
    // Stops and releases the player on the worker, waiting for it a bounded time (a card that does
    // not answer leaves it behind, see above). The events are detached first: nothing the callbacks
    // reach is used after it.
    ~CVideoEngine();
    CVideoEngine(const CVideoEngine&) = delete;
    CVideoEngine& operator=(const CVideoEngine&) = delete;

    // Stores the callback and its user data and attaches the player's twelve events to them.
    void AttachEvents(libvlc_callback_t callback, void* user);
    // Re-creates instance and player with argument set argSet (1 = configured, else plain); the old
    // player is stopped and released on the worker. Returns 1 on success; 0 when unusable or nothing
    // was opened yet (argSet is kept for next time).
    int Rebuild(int argSet);
    int ArgumentSet() const { return m_nArgSet; }
    // Binds the player to a native window (the pane's winId()); the binding is lost by a rebuild.
    void BindWindow(WId window);
    // The opening sequence: bind to window (when not 0), volume, path, the previous media stopped,
    // media with its options (":no-audio" when silent), media to the player, key and mouse input off,
    // play when asked (then playing, not paused). Returns 1 when the media goes to the player.
    // The path goes to libVLC as the file system's bytes, whatever they are.
    int Open(const std::filesystem::path& path, WId window, bool silent, bool play);
    // The same for a name that Qt itself made (a temporary or dialog path); names read from a card
    // must take the path overload, since Qt cannot hold bytes that are not UTF-8.
    int Open(const QString& path, WId window, bool silent, bool play);
    // The path last opened, as the file system's bytes (empty before the first opening).
    const std::string& CurrentPath() const { return m_strPath; }

    int Play();   // start or resume; 0 when asked, -1 when unusable
    void Pause(); // toggles pause
    // Stops the player (on the worker: libVLC's stop waits for the input thread) and clears the
    // playing and paused flags at once.
    void Stop();
    // Play or pause by the state asked for, never a toggle: pausing acts only on a playing player,
    // resuming only on a paused one. True when the state changed.
    bool PausePlaying();
    bool ResumePaused();
    int Volume() const { return m_nVolume; } // as given at the last SetVolume
    float Rate() const { return m_fRate; }   // as given at the last SetRate
    bool IsPlaying() const { return m_bPlaying; }
    bool IsPaused() const { return m_bPaused; }
    // Usable and playing, or paused as well when countPaused: the engine counts for time and length.
    bool IsActive(bool countPaused) const { return m_bOk && (m_bPlaying || (countPaused && m_bPaused)); }
    void SetVolume(int volume); // 0..200 (libVLC's scale), kept for the next open
    void SetMute(bool mute);
    void SetTime(int64_t ms);
    int64_t GetTime();       // milliseconds; 0 when unusable, -1 when nothing plays (yet)
    int64_t GetLength();     // milliseconds; 0 when unusable or unknown
    int SetRate(float rate); // 0 when asked, -1 when unusable; kept for Rate()
    // Saves the current picture at its own size to path (libVLC writes PNG); 0 on success.
    int TakeSnapshot(const QString& path);

    bool IsUsable() const { return m_bOk; }
    // Front engine rule of the callbacks: the controller started or resumed it and it can play.
    bool IsUsableAndPlaying() const { return m_bOk && m_bPlaying; }

    // Events raised from here on belong to opening (taken in order with the work asked before, so a
    // player still being stopped reports under the opening it played for). Read by the callbacks.
    void MarkOpening(uint32_t opening);
    uint32_t EventOpening() const { return *m_pEventOpening; }
    // True when no engine work is waiting or running (the time and length are the player's own).
    bool WorkerIdle() const;
    // Hands event to the attached callback as the player's own thread would (checks of the window's
    // answer to an end or an error that libVLC cannot be made to raise at will).
    void DeliverEvent(const libvlc_event_t& event);
    // Leaves a worker that has been stuck for over stuckMs behind with its player, and opens what
    // was open (at the state asked for) on a fresh instance. True when it did.
    bool ReplaceIfStuck(int stuckMs = kStuckMs);

  private:
    // Runs job on the worker, or at once when the worker has nothing to do and the job cannot wait
    // for a card (mayBlock false).
    void Run(bool mayBlock, std::function<void(CVlcPlayerSet&)> job);
    // A fresh set and worker; the old set is stopped and released on the old worker, which is left
    // to finish on its own. False when the fresh set is unusable.
    bool ReplaceSet();
    void OpenOnSet();

    std::string m_strLibrary;
    std::shared_ptr<CVlcPlayerSet> m_pSet;
    std::unique_ptr<CEngineWorker> m_pWorker;
    // Shared with the jobs that set it, so a job left behind never writes freed memory.
    std::shared_ptr<std::atomic<uint32_t>> m_pEventOpening;
    libvlc_callback_t m_pfnEventCallback = nullptr;
    void* m_pEventUser = nullptr;
    WId m_window = 0;
    std::string m_strPath;
    bool m_bHasMedia = false;
    bool m_bSilent = false;
    bool m_bMuted = false;
    uint32_t m_nOpeningAsked = 0;
    int m_nArgSet = 0;
    int m_nVolume = 0;
    float m_fRate = 1.0f;
    // Read by the event callbacks on libVLC's threads, written on the UI thread.
    std::atomic<bool> m_bOk{true};
    std::atomic<bool> m_bPlaying{false};
    std::atomic<bool> m_bPaused{false};
};
