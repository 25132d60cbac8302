#include "opening_rules.h"

#include <chrono>

uint32_t MonotonicTickCount() {
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
}

void BeginOpening() {
    g_bOpening = 1;
}

void EndOpening() {
    g_bOpening = 0;
}

void EndOpeningIfNoEngine(bool frontUsable, bool rearUsable) {
    if (!frontUsable && !rearUsable) EndOpening();
}

bool AcceptSourceCommand(bool catalogEmpty) {
    return catalogEmpty || !g_bOpening;
}

bool AcceptGroupChoice(int group) {
    return !g_bOpening && group != -1;
}

bool CFileChoiceGate::Accept(uint32_t nowTick) {
    if (g_bOpening || m_bOpenRunning) return false;
    if (static_cast<uint32_t>(nowTick - m_dwLastOpenTick) < kDebounceMs) return false;
    m_dwLastOpenTick = nowTick;
    m_bOpenRunning = true;
    return true;
}

void COpenCountdown::Start(int index, int ticks) {
    m_nNextIndex = index;
    m_nNextCountdown = ticks > 0 ? ticks : 0;
}

void COpenCountdown::Cancel() {
    m_nNextIndex = -1;
    m_nNextCountdown = 0;
}

int COpenCountdown::Tick() {
    if (m_nNextCountdown <= 0) return -1; // idle
    const int was = m_nNextCountdown--;
    return was == 1 ? m_nNextIndex : -1;
}
