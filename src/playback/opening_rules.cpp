#include "opening_rules.h"

#include <chrono>

uint32_t MonotonicTickCount() {
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
}

bool AcceptSourceCommand(const COpeningFlag& opening, bool catalogEmpty) {
    return catalogEmpty || !opening.Active();
}

bool AcceptGroupChoice(const COpeningFlag& opening, int group) {
    return !opening.Active() && group != -1;
}

bool CFileChoiceGate::Accept(const COpeningFlag& opening, uint32_t nowTick) {
    if (opening.Active() || m_bOpenRunning) return false;
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
