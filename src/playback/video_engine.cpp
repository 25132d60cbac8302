#include "video_engine.h"

#include "engine_worker.h"
#include "trace.h"
#include "vlc_player_set.h"

#include <QFile>
#include <csignal>

namespace {

// libVLC writes to sockets and pipes (sound server, session bus) whose far end may be gone; a broken
// pipe signal would end the whole viewer. Blocked in the creating thread, so every thread it starts
// later (libVLC's own, the engine workers, and players started from here) inherits the block, as
// libVLC asks of its hosts.
void BlockBrokenPipeSignal() {
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGPIPE);
    pthread_sigmask(SIG_BLOCK, &set, nullptr);
}

// Moves the opening the events belong to forward, never back: a worker left behind may still run an
// older mark after a newer one.
void RaiseOpening(std::atomic<uint32_t>& stamp, uint32_t opening) {
    uint32_t seen = stamp.load();
    while (seen < opening && !stamp.compare_exchange_weak(seen, opening)) {
    }
}

} // namespace

CVideoEngine::CVideoEngine()
    : m_strLibrary(VlcLibraryName()), m_pEventOpening(std::make_shared<std::atomic<uint32_t>>(0)) {
    BlockBrokenPipeSignal();
    m_pSet = std::make_shared<CVlcPlayerSet>(m_strLibrary.c_str(), m_nArgSet);
    m_pWorker = std::make_unique<CEngineWorker>();
    if (!m_pSet->Usable()) {
        m_bOk = false;
        return;
    }
    m_pSet->Table().audio_set_volume(m_pSet->Player(), m_nVolume);
}

CVideoEngine::~CVideoEngine() {
    if (m_pfnEventCallback && m_bOk) m_pSet->DetachEvents(m_pfnEventCallback, m_pEventUser);
    // A worker already known to wait for the card is not waited for again; its job keeps the player.
    if (m_pWorker->RunningForMs() >= kStuckMs) m_pWorker->Abandon();
    // The last reference goes on the worker: the release stops the player there.
    m_pWorker->Post([set = std::move(m_pSet)]() mutable { set.reset(); });
    m_pWorker.reset(); // bounded wait; a worker still busy then is left behind
}

void CVideoEngine::Run(bool mayBlock, std::function<void(CVlcPlayerSet&)> job) {
    if (!mayBlock && m_pWorker->Idle()) {
        job(*m_pSet);
        return;
    }
    m_pWorker->Post([set = m_pSet, job = std::move(job)] { job(*set); });
}

bool CVideoEngine::WorkerIdle() const {
    return m_pWorker->Idle();
}

void CVideoEngine::AttachEvents(libvlc_callback_t callback, void* user) {
    if (!m_bOk) return;
    m_pfnEventCallback = callback;
    m_pEventUser = user;
    m_pSet->AttachEvents(callback, user);
}

void CVideoEngine::DeliverEvent(const libvlc_event_t& event) {
    if (m_pfnEventCallback) m_pfnEventCallback(&event, m_pEventUser);
}

void CVideoEngine::MarkOpening(uint32_t opening) {
    m_nOpeningAsked = opening;
    Run(false, [stamp = m_pEventOpening, opening](CVlcPlayerSet&) { RaiseOpening(*stamp, opening); });
}

bool CVideoEngine::ReplaceSet() {
    auto fresh = std::make_shared<CVlcPlayerSet>(m_strLibrary.c_str(), m_nArgSet);
    // Nothing of the old player reaches the callbacks any more: no stale report, and nothing after
    // the engine is gone.
    if (m_pfnEventCallback) m_pSet->DetachEvents(m_pfnEventCallback, m_pEventUser);
    // The work still queued for the old player is dropped (a media given to it once the card answers
    // again would play unseen); its release stops it, on its own worker, whenever that worker is free.
    m_pWorker->Retire([old = std::move(m_pSet)]() mutable { old.reset(); });
    m_pWorker = std::make_unique<CEngineWorker>();
    m_pSet = std::move(fresh);
    // The fresh player has no work queued before it: its events belong to the opening asked last.
    RaiseOpening(*m_pEventOpening, m_nOpeningAsked);
    if (!m_pSet->Usable()) return false;
    m_pSet->AttachEvents(m_pfnEventCallback, m_pEventUser);
    m_pSet->Table().audio_set_volume(m_pSet->Player(), m_nVolume);
    return true;
}

int CVideoEngine::Rebuild(int argSet) {
    m_nArgSet = argSet;
    if (!m_bOk || !m_bHasMedia) return 0;
    m_bHasMedia = false;
    if (!ReplaceSet()) {
        m_bOk = false;
        return 0;
    }
    return 1;
}

bool CVideoEngine::ReplaceIfStuck(int stuckMs) {
    if (!m_bOk || m_pWorker->RunningForMs() < stuckMs) return false;
    Trace("==>> engine work stuck for over %d ms (card not answering): fresh player\n", stuckMs);
    if (!ReplaceSet()) {
        m_bOk = false;
        return true;
    }
    OpenOnSet();
    return true;
}

// The fresh player gets what was asked of the one left behind: window, media, rate, play or pause.
void CVideoEngine::OpenOnSet() {
    if (m_window) BindWindow(m_window);
    if (!m_bHasMedia) return;
    const bool play = m_bPlaying || m_bPaused;
    const bool pause = m_bPaused;
    const float rate = m_fRate;
    Run(true, [path = m_strPath, software = m_nArgSet == 1, silent = m_bSilent, play, pause,
               rate](CVlcPlayerSet& set) {
        if (!set.SetMedia(path, software, silent)) return;
        set.Table().media_player_set_rate(set.Player(), rate);
        if (!play) return;
        set.Table().media_player_play(set.Player());
        if (pause) set.SetPause(true);
    });
}

void CVideoEngine::BindWindow(WId window) {
    if (!m_bOk) return;
    m_window = window;
    Run(false, [window](CVlcPlayerSet& set) { set.BindWindow(static_cast<uint32_t>(window)); });
}

int CVideoEngine::Open(const QString& path, WId window, bool silent, bool play) {
    return Open(std::filesystem::path(QFile::encodeName(path).toStdString()), window, silent, play);
}

int CVideoEngine::Open(const std::filesystem::path& path, WId window, bool silent, bool play) {
    if (window) BindWindow(window);
    if (m_bOk) SetVolume(m_nVolume);
    m_strPath = path.native();
    if (!m_bOk) return 0;
    m_bHasMedia = true;
    m_bSilent = silent;
    // Giving a media to a player that plays stops it first, which waits for its input thread.
    Run(true, [path = m_strPath, software = m_nArgSet == 1, silent, play](CVlcPlayerSet& set) {
        if (set.SetMedia(path, software, silent) && play) set.Table().media_player_play(set.Player());
    });
    if (play) {
        m_bPlaying = true;
        m_bPaused = false;
    }
    return 1;
}

int CVideoEngine::Play() {
    if (!m_bOk) return -1;
    Run(false, [](CVlcPlayerSet& set) { set.Table().media_player_play(set.Player()); });
    return 0;
}

void CVideoEngine::Pause() {
    if (m_bOk) Run(false, [](CVlcPlayerSet& set) { set.Table().media_player_pause(set.Player()); });
}

void CVideoEngine::Stop() {
    if (m_bOk) Run(true, [](CVlcPlayerSet& set) { set.Table().media_player_stop(set.Player()); });
    m_bPlaying = false;
    m_bPaused = false;
}

bool CVideoEngine::PausePlaying() {
    if (!m_bOk || !m_bPlaying) return false;
    Run(false, [](CVlcPlayerSet& set) { set.SetPause(true); });
    m_bPlaying = false;
    m_bPaused = true;
    return true;
}

bool CVideoEngine::ResumePaused() {
    if (!m_bOk || !m_bPaused) return false;
    Run(false, [](CVlcPlayerSet& set) { set.Table().media_player_play(set.Player()); });
    m_bPlaying = true;
    m_bPaused = false;
    return true;
}

void CVideoEngine::SetVolume(int volume) {
    m_nVolume = volume;
    if (m_bOk) Run(false, [volume](CVlcPlayerSet& set) { set.Table().audio_set_volume(set.Player(), volume); });
}

void CVideoEngine::SetMute(bool mute) {
    if (m_bOk) Run(false, [mute](CVlcPlayerSet& set) { set.Table().audio_set_mute(set.Player(), mute ? 1 : 0); });
}

void CVideoEngine::SetTime(int64_t ms) {
    if (m_bOk) Run(false, [ms](CVlcPlayerSet& set) { set.Table().media_player_set_time(set.Player(), ms); });
}

int64_t CVideoEngine::GetTime() {
    if (!m_bOk) return 0;
    if (!m_pWorker->Idle()) return -1;
    return m_pSet->Table().media_player_get_time(m_pSet->Player());
}

int64_t CVideoEngine::GetLength() {
    if (!m_bOk || !m_pWorker->Idle()) return 0;
    const int64_t length = m_pSet->Table().media_player_get_length(m_pSet->Player());
    return length > 0 ? length : 0;
}

int CVideoEngine::SetRate(float rate) {
    if (!m_bOk) return -1;
    m_fRate = rate;
    Run(false, [rate](CVlcPlayerSet& set) { set.Table().media_player_set_rate(set.Player(), rate); });
    return 0;
}

int CVideoEngine::TakeSnapshot(const QString& path) {
    if (!m_bOk || !m_pWorker->Idle()) return -1;
    return m_pSet->Table().video_take_snapshot(m_pSet->Player(), 0, QFile::encodeName(path).constData(), 0, 0);
}
