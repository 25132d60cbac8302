// When a source command or a list choice may start an open, and the state that keeps opens from
// overlapping: the opening flag, the file list's 1500 ms debounce and the start-up countdown.
#pragma once

#include <atomic>
#include <cstdint>

// A source or recording is being opened (defined with the engine callbacks, which clear it at the
// first time report). Also cleared by timer 106, an empty scan, a player error and an open that
// finds no usable engine, so list choices are never dropped for long after a file that never plays.
extern std::atomic<int> g_bOpening;

// A monotonic millisecond clock that wraps like a 32-bit tick count.
uint32_t MonotonicTickCount();

void BeginOpening(); // caller also starts timer 106 (100 000 ms)
void EndOpening();
// After an open: with neither engine usable no time report will ever come, so the flag goes now.
void EndOpeningIfNoEngine(bool frontUsable, bool rearUsable);

// A new source may be chosen unless a non-empty catalog is being opened.
bool AcceptSourceCommand(bool catalogEmpty);
// A group choice opens unless an open is under way or no line was hit (-1).
bool AcceptGroupChoice(int group);

// File list choices: dropped (never queued) while opening, while the previous file open has not
// finished, and within 1500 ms of the last accepted one (unsigned tick difference, so the clock's
// wrap is harmless).
class CFileChoiceGate {
  public:
    static constexpr uint32_t kDebounceMs = 1500;

    explicit CFileChoiceGate(uint32_t constructionTick = MonotonicTickCount())
        : m_dwLastOpenTick(constructionTick) {}

    // True when the choice starts a file open; the gate then counts that open as running until
    // FileOpenFinished.
    bool Accept(uint32_t nowTick);
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
