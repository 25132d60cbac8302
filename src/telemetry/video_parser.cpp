#include "video_parser.h"

#include <cstring>

void COrvexVideoParser::ResetReaderState() {
    m_llStartTime = 0;
    m_bStartTimeKnown = false;
    m_llDurationSec = 0;
    m_uDurationMs = 0;
    m_ullGpsOffset = 0;
    m_uGpsSize = 0;
    m_ullGsensorOffset = 0;
    m_uGsensorSize = 0;
    m_wWidth = 0;
    m_wHeight = 0;
    m_ullFileSize = 0;
    std::memset(m_GpsAttr, 0, sizeof m_GpsAttr);
    std::memset(m_GsensorAttr, 0, sizeof m_GsensorAttr);
    m_uVehicleRate = 0;
}

void COrvexVideoParser::StoreReaderState() const {
    if (!m_pMediaInfo) return;
    MediaInfo& info = *m_pMediaInfo;
    info.m_ullGpsOffset = m_ullGpsOffset;
    info.m_uGpsSize = m_uGpsSize;
    info.m_ullGsensorOffset = m_ullGsensorOffset;
    info.m_uGsensorSize = m_uGsensorSize;
    info.m_wWidth = m_wWidth;
    info.m_wHeight = m_wHeight;
    info.m_llStartTime = m_llStartTime;
    info.m_llDurationSec = m_llDurationSec;
    info.m_uDurationMs = m_uDurationMs;
    info.m_ullFileSize = m_ullFileSize;
    std::memcpy(info.m_GpsAttr, m_GpsAttr, sizeof m_GpsAttr);
    std::memcpy(info.m_GsensorAttr, m_GsensorAttr, sizeof m_GsensorAttr);
}

void COrvexVideoParser::StoreLayout(TelemetryLayout layout) const {
    if (!m_pMediaInfo) return;
    m_pMediaInfo->m_uVehicleRate = m_uVehicleRate;
    m_pMediaInfo->m_uLayout = layout;
}
