// Shared by the playback tests: clips made with ffmpeg, a receiver that records the posted private
// messages, native panes for the players, and waiting on the event loop.
#pragma once

#include "engine_events.h"
#include "video_engine.h"

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTemporaryDir>
#include <QWidget>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <memory>
#include <vector>

// A short real H.264 clip (MP4) drawn by an ffmpeg lavfi source; false when ffmpeg failed.
bool MakeClip(const QString& path, double seconds, const QString& source = "testsrc2=size=320x240:rate=25");

// A time limit stretched by VELTRIX_TEST_TIME_SCALE (set when running under valgrind).
int ScaledTimeout(int timeoutMs);
inline int ScaledSeconds(int seconds) {
    return ScaledTimeout(seconds * 1000) / 1000;
}

// Runs the event loop until done() holds or timeoutMs passed; returns done().
bool WaitFor(const std::function<bool()>& done, int timeoutMs);

struct ReceivedMessage {
    int message;
    uintptr_t wParam;
    qint64 arrivalMs; // since the receiver was made
};

// Stands in for the main window: keeps every private message in arrival order.
class MessageRecorder : public QObject {
  public:
    MessageRecorder() { m_clock.start(); }
    bool event(QEvent* event) override;

    std::vector<ReceivedMessage> All(int message) const;
    int Count(int message) const { return static_cast<int>(All(message).size()); }
    bool Has(int message, uintptr_t wParam) const;
    std::vector<ReceivedMessage> m_messages;

  private:
    QElapsedTimer m_clock;
};

// A top-level window with two native child panes (front left, rear right), shown and exposed.
class PanesWindow : public QWidget {
  public:
    explicit PanesWindow(QSize paneSize = QSize(320, 240));
    QWidget* m_pFront;
    QWidget* m_pRear;
};

// Front and rear engine with their event target, attached to the recorder; released rear first.
struct EnginePair {
    EnginePair();
    MessageRecorder recorder;
    EngineEventTarget target;
    CVideoEngine front;
    CVideoEngine rear;
};

// Engines made while this lives load the library file at path instead of libvlc.so.5.
class LibraryOverride {
  public:
    explicit LibraryOverride(const char* path) { setenv("VELTRIX_LIBVLC_PATH", path, 1); }
    ~LibraryOverride() { unsetenv("VELTRIX_LIBVLC_PATH"); }
};

// Files for one test in a fresh temporary folder.
struct TestFolder {
    QTemporaryDir dir;
    QString File(const QString& name) const { return dir.filePath(name); }
};

// Media-time advance per wall-clock time over a run of time reports (0 when fewer than two).
double PlaybackSpeed(const std::vector<ReceivedMessage>& timeReports);
