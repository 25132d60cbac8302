// When a source command or a list choice may start an open, and the state that keeps opens from
// overlapping: the opening flag, the file list's 1500 ms debounce and the start-up countdown.
#pragma once

#include <atomic>
#include <cstdint>

// A source or recording is being opened. Owned by the playback session (its engines' callbacks end
// it at the first time report); also ended by the opening timeout, an empty scan, a player error and
// an open that finds no usable engine, so list choices are never dropped for long after a file that
// never plays. Set and read on the UI thread, ended on an engine thread as well.
class COpeningFlag {
  public:
    void Begin() { m_bOpening = true; } // the caller also starts the opening timeout (100 000 ms)
    void End() { m_bOpening = false; }
    bool Active() const { return m_bOpening; }
    // Ends it; true when it was under way (the first time report after an opening).
    bool EndAtFirstReport() { return m_bOpening.exchange(false); }
    // After an open: with neither engine usable no time report will ever come, so it ends now.
    void EndIfNoEngine(bool frontUsable, bool rearUsable) {
        if (!frontUsable && !rearUsable) End();
    }

  private:
    std::atomic<bool> m_bOpening{false};
};

// A monotonic millisecond clock that wraps like a 32-bit tick count.
uint32_t MonotonicTickCount();

// A new source may be chosen unless a non-empty catalog is being opened.
bool AcceptSourceCommand(const COpeningFlag& opening, bool catalogEmpty);
// A group choice opens unless an open is under way or no line was hit (-1).
bool AcceptGroupChoice(const COpeningFlag& opening, int group);

// File list choices: dropped (never queued) while opening, while the previous file open has not
// finished, and within 1500 ms of the last accepted one (unsigned tick difference, so the clock's
// wrap is harmless).
class CFileChoiceGate {
  public:
    static constexpr uint32_t kDebounceMs = 1500;

    explicit CFileChoiceGate(uint32_t constructionTick = MonotonicTickCount())
        : m_dwLastOpenTick(constructionTick) {}

    // True when the choice starts a file open (never while opening); the gate then counts that open
    // as running until FileOpenFinished.
    bool Accept(const COpeningFlag& opening, uint32_t nowTick);
    void FileOpenFinished() { m_bOpenRunning = false; }
    bool FileOpenRunning() const { return m_bOpenRunning; }

  private:
    uint32_t m_dwLastOpenTick;
    bool m_bOpenRunning = false;
};

// Timer 105: opens the first recording about half a second after a scan.
class COpenCountdown {
  public:
    static constexpr int kTicks = 5;

    void Start(int index, int ticks = kTicks);
    void Cancel();
    // One tick: the index to open now, or -1.
    int Tick();
    bool Running() const { return m_nNextCountdown > 0; }

  private:
    int m_nNextIndex = -1;
    int m_nNextCountdown = 0; // 0 or -1: idle
};
