#include "trip_summary_text.h"

#include <QStringList>

#include "language.h"

namespace {

QString Line(unsigned labelId, const QString& value) {
    return QString::fromStdString(LoadLangString(labelId)) + QStringLiteral(": ") + value;
}

} // namespace

QString TripLengthText(int64_t lengthMs) {
    const int64_t s = lengthMs < 0 ? 0 : lengthMs / 1000;
    return QString::asprintf("%lld:%02d:%02d", static_cast<long long>(s / 3600), static_cast<int>(s / 60 % 60),
                             static_cast<int>(s % 60));
}

QString TripSummaryText(const TripSummary& s, bool kmh, bool routeKnown) {
    const QString unit = kmh ? QStringLiteral("km/h") : QStringLiteral("mph");
    QStringList lines;
    lines << Line(IDS_TRIP_START, QString::fromStdString(s.startLocal))
          << Line(IDS_TRIP_END, QString::fromStdString(s.endLocal))
          << Line(IDS_TRIP_LENGTH, TripLengthText(s.lengthMs))
          << Line(IDS_TRIP_RECORDINGS, QString::number(s.recordingCount));
    if (routeKnown) {
        lines << Line(IDS_TRIP_DISTANCE, QString::number(s.distanceKm, 'f', 3) + QStringLiteral(" km"))
              << Line(IDS_TRIP_TOP_SPEED, QString::number(SpeedInShownUnit(s.topSpeedKmh, kmh)) + u' ' + unit)
              << Line(IDS_TRIP_AVERAGE_SPEED,
                      QString::number(AverageSpeedInShownUnit(s.averageSpeedKmh, kmh), 'f', 1) + u' ' + unit);
    }
    return lines.join(u'\n');
}
