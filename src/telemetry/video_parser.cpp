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
