#include "playback_test_support.h"

#include "private_message.h"

#include <QCoreApplication>
#include <QProcess>
#include <QThread>
#include <QWindow>

bool MakeClip(const QString& path, double seconds, const QString& source) {
    QProcess ffmpeg;
    ffmpeg.start("ffmpeg", {"-v", "error", "-y", "-f", "lavfi", "-i", source, "-t", QString::number(seconds),
                            "-c:v", "libx264", "-preset", "ultrafast", "-pix_fmt", "yuv420p", path});
    return ffmpeg.waitForFinished(30000) && ffmpeg.exitStatus() == QProcess::NormalExit &&
           ffmpeg.exitCode() == 0;
}

// Under valgrind everything runs many times slower: VELTRIX_TEST_TIME_SCALE stretches every wait.
int ScaledTimeout(int timeoutMs) {
    const int scale = qEnvironmentVariableIntValue("VELTRIX_TEST_TIME_SCALE");
    return scale > 1 ? timeoutMs * scale : timeoutMs;
}

bool WaitFor(const std::function<bool()>& done, int timeoutMs) {
    timeoutMs = ScaledTimeout(timeoutMs);
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < timeoutMs) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(5);
    }
    QCoreApplication::processEvents();
    return done();
}

bool MessageRecorder::event(QEvent* event) {
    const int type = event->type();
    if (type >= MSG_PLAYER_ERROR && type <= MSG_REAR_END) {
        auto* message = static_cast<PrivateMessage*>(event);
        m_messages.push_back({message->message(), message->wParam(), m_clock.elapsed()});
        return true;
    }
    return QObject::event(event);
}

std::vector<ReceivedMessage> MessageRecorder::All(int message) const {
    std::vector<ReceivedMessage> found;
    for (const ReceivedMessage& m : m_messages)
        if (m.message == message) found.push_back(m);
    return found;
}

bool MessageRecorder::Has(int message, uintptr_t wParam) const {
    for (const ReceivedMessage& m : m_messages)
        if (m.message == message && m.wParam == wParam) return true;
    return false;
}

PanesWindow::PanesWindow(QSize paneSize) {
    setWindowTitle("playback panes");
    setStyleSheet("background: rgb(5, 5, 5);");
    resize(paneSize.width() * 2 + 30, paneSize.height() + 20);
    // Tests run in parallel on one virtual screen: spread the windows so screenshots rarely overlap.
    const int slot = static_cast<int>(QCoreApplication::applicationPid() % 20);
    move(40 * slot, 30 * slot);
    m_pFront = new QWidget(this);
    m_pRear = new QWidget(this);
    m_pFront->setGeometry(10, 10, paneSize.width(), paneSize.height());
    m_pRear->setGeometry(paneSize.width() + 20, 10, paneSize.width(), paneSize.height());
    m_pFront->setAttribute(Qt::WA_NativeWindow);
    m_pRear->setAttribute(Qt::WA_NativeWindow);
    show();
    WaitFor([this] { return windowHandle() && windowHandle()->isExposed(); }, 3000);
}

EnginePair::EnginePair() {
    target.m_pReceiver = &recorder;
    target.m_pFront = &front;
    target.m_pRear = &rear;
    front.AttachEvents(OnFrontEngineEvent, &target);
    rear.AttachEvents(OnRearEngineEvent, &target);
}

double PlaybackSpeed(const std::vector<ReceivedMessage>& reports) {
    if (reports.size() < 2) return 0;
    const ReceivedMessage& first = reports.front();
    const ReceivedMessage& last = reports.back();
    if (last.arrivalMs == first.arrivalMs) return 0;
    return double(int64_t(last.wParam) - int64_t(first.wParam)) / double(last.arrivalMs - first.arrivalMs);
}
