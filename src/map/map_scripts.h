// Texts of the five page calls and of the coordinate label. Numbers are always written with a
// decimal point and six decimals, whatever the process locale says.
#pragma once

#include <QString>

QString MovPosScript(double latitude, double longitude);         // "movpos(%f, %f)"
QString PathPlotScript(double latitude, double longitude);       // "path_plot(%f,%f)"
QString PathDrivedPlotScript(double latitude, double longitude); // "pathdrived_plot(%f,%f)"
inline const char* const kPathDeleteScript = "path_delete()";
inline const char* const kPathDrivedDeleteScript = "pathdrived_delete()";

// "%lf%s, %lf%s": the numbers keep their sign, followed by N/S and E/W.
QString CoordLabelText(double latitude, double longitude);

// Degrees + minutes / 100 (the raw GPS block form after its division by 100) to decimal degrees.
double MinutesFormToDegrees(double value);
