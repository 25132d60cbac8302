// session_hang_probe CARD_CLIP HEALTHY_CLIP HANG_FLAG stop|open
// Plays CARD_CLIP (below the slowed card's folder) through a playback session in a window with two
// native panes, makes the card hang while it plays (HANG_FLAG created: every read below the card's
// folder waits), then either stops and opens HEALTHY_CLIP (stop) or opens it at once (open), as the
// user would. A 10 ms timer on the UI thread measures the longest gap between its ticks from the
// hang on. Prints one line:
//   hang action=A gap_ms=G next_ms=N stuck=S card_reads=R exit_ms=E
// next_ms: from the command to the first time report of HEALTHY_CLIP (-1: never within 20 s);
// stuck: engines left behind with their player; exit_ms: the session's destruction (the hang is
// still on). Exit status 0 when the healthy clip played.
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QHBoxLayout>
#include <QTimer>
#include <QWidget>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <dlfcn.h>
#include <filesystem>
#include <functional>
#include <string>

#include "playback_session.h"

namespace {

using CountsFunction = void (*)(uint64_t*, uint64_t*, uint64_t*, uint64_t*);

uint64_t CardReads() {
    auto counts = reinterpret_cast<CountsFunction>(dlsym(RTLD_DEFAULT, "veltrix_slow_card_counts"));
    if (!counts) return 0;
    uint64_t reads = 0;
    counts(&reads, nullptr, nullptr, nullptr);
    return reads;
}

// Runs the event loop for ms.
void Spin(int ms) {
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
}

bool SpinUntil(const std::function<bool()>& done, int ms) {
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    return done();
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 5) {
        std::fprintf(stderr, "usage: session_hang_probe CARD_CLIP HEALTHY_CLIP HANG_FLAG stop|open\n");
        return 2;
    }
    const std::filesystem::path cardClip = argv[1], healthyClip = argv[2], flag = argv[3];
    const std::string action = argv[4];
    QApplication app(argc, argv);

    QWidget window;
    auto* layout = new QHBoxLayout(&window);
    auto* front = new QWidget;
    auto* rear = new QWidget;
    for (QWidget* pane : {front, rear}) {
        pane->setAttribute(Qt::WA_NativeWindow);
        pane->setMinimumSize(320, 240);
        layout->addWidget(pane);
    }
    window.show();
    Spin(200);

    int stuck = 0, healthyReports = 0;
    auto* session = new PlaybackSession;
    session->SetPanes(front->winId(), rear->winId());
    bool playing = false;
    QObject::connect(session, &PlaybackSession::timeReported, [&](qint64 ms, qint64) {
        if (session->CurrentPath() == healthyClip)
            ++healthyReports;
        else if (ms > 0)
            playing = true;
    });
    QObject::connect(session, &PlaybackSession::engineStuck, [&] { ++stuck; });

    session->Open(cardClip);
    if (!SpinUntil([&] { return playing; }, 20000)) {
        std::printf("hang action=%s gap_ms=-1 next_ms=-1 stuck=0 card_reads=%llu exit_ms=-1\n", action.c_str(),
                    static_cast<unsigned long long>(CardReads()));
        return 1;
    }
    const uint64_t reads = CardReads();
    // The card stops answering while it plays: the player's next read waits.
    QFile(QString::fromStdString(flag.string())).open(QIODevice::WriteOnly);
    Spin(500);

    QElapsedTimer clock;
    clock.start();
    qint64 last = 0, longest = 0;
    QTimer tick;
    QObject::connect(&tick, &QTimer::timeout, [&] {
        const qint64 now = clock.elapsed();
        longest = std::max(longest, now - last);
        last = now;
    });
    tick.start(10);
    const qint64 commandMs = clock.elapsed();
    if (action == "stop") {
        session->Stop();
        Spin(300);
    }
    session->Open(healthyClip);
    const bool played = SpinUntil([&] { return healthyReports > 0; }, 20000);
    const qint64 nextMs = played ? clock.elapsed() - commandMs : -1;
    Spin(300);
    tick.stop();

    QElapsedTimer exitClock;
    exitClock.start();
    delete session;
    const qint64 exitMs = exitClock.elapsed();
    std::printf("hang action=%s gap_ms=%lld next_ms=%lld stuck=%d card_reads=%llu exit_ms=%lld\n", action.c_str(),
                static_cast<long long>(longest), static_cast<long long>(nextMs), stuck,
                static_cast<unsigned long long>(reads), static_cast<long long>(exitMs));
    std::fflush(stdout);
    // Threads left behind still wait in the card's read: leave without running the library's
    // destructors under them.
    std::_Exit(played ? 0 : 1);
}
