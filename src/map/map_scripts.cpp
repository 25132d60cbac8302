#include "map_scripts.h"

#include "coordinates.h"

#include <cmath>

// QString::asprintf formats like the C library in the "C" locale, so a German desktop still
// writes 22.540833 and never 22,540833 (which the page would read as two arguments).
QString MovPosScript(double latitude, double longitude) {
    return QString::asprintf("movpos(%f, %f)", latitude, longitude);
}

QString PathPlotScript(double latitude, double longitude) {
    return QString::asprintf("path_plot(%f,%f)", latitude, longitude);
}

QString PathDrivedPlotScript(double latitude, double longitude) {
    return QString::asprintf("pathdrived_plot(%f,%f)", latitude, longitude);
}

QString CoordLabelText(double latitude, double longitude) {
    return QString::asprintf("%lf%s, %lf%s", latitude, latitude < 0 ? "S" : "N", longitude,
                             longitude < 0 ? "W" : "E");
}

double MinutesFormToDegrees(double value) {
    return DegreesMinutesToDegrees(value);
}
