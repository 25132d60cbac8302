// The telemetry that follows playback: the track loaded with a recording, every time report and
// seek applied to the map, the G-sensor curve, the look-down gauge, the vehicle gauges, the speed
// label, the compass and the GPS indicator; the KML export.
#include "main_window.h"

#include "control_ids.h"
#include "gsensor_ctrl.h"
#include "kml_command.h"
#include "map_scripts.h"
#include "png_compass_static.h"
#include "png_static.h"
#include "property_controls.h"
#include "speed_label_static.h"
#include "video_engine.h"

#include <cstring>

void COrvexMainWindow::SetGpsColor(int color) {
    auto* indicator = Child<CPngStatic>(IDC_GPS_INDICATOR);
    if (!indicator || indicator->m_bColor == color) return;
    indicator->m_bColor = color;
    indicator->update();
}

void COrvexMainWindow::ShowVehicleSample(size_t index) {
    const std::vector<VehicleSample>& samples = m_plot.VehicleSamples();
    if (index >= samples.size()) return;
    ShowGaugeSample(samples[index]);
}

// Every gauge blank ("not available"), the compass without a heading and the speed without a fix.
void COrvexMainWindow::ClearGauges() {
    VehicleSample unavailable;
    std::memset(&unavailable, 0xFF, sizeof unavailable);
    ShowGaugeSample(unavailable);
    if (auto* compass = Child<CPngCompassStatic>(IDC_COMPASS)) {
        compass->m_nImage = 0;
        compass->update();
    }
    if (auto* speed = Child<CSpeedLabelStatic>(IDC_SPEED_LABEL)) {
        speed->m_bValid = 0;
        speed->m_nSpeed = 0;
        speed->UpdateTexts();
        speed->update();
    }
}

void COrvexMainWindow::ShowGaugeSample(const VehicleSample& sample) {
    VehicleGauges gauges;
    gauges.accelerator = Child<CPropertyText>(1200);
    gauges.brake = Child<CPropertyText>(1201);
    gauges.steering = Child<CPropertySteeringAngle>(1202);
    gauges.engineSpeed = Child<CPropertyText>(1203);
    gauges.power = Child<CPropertyText>(1204);
    gauges.torque = Child<CPropertyText>(1205);
    gauges.gear = Child<CPropertyText>(1206);
    gauges.oilTemperature = Child<CPropertyText>(1207);
    gauges.waterTemperature = Child<CPropertyText>(1208);
    gauges.speed = Child<CPropertyText>(1209);
    gauges.dateTime = Child<CPropertyText>(1210);
    gauges.outsideTemperature = Child<CPropertyText>(1211);
    gauges.turnLights = Child<CPropertyTurnSignal>(IDC_TURN_SIGNAL);
    FillVehicleGauges(sample, gauges, m_turnLights);
}

// Nothing of a recording's telemetry stays on screen once its catalog is gone or another recording
// without telemetry opens.
void COrvexMainWindow::DropTelemetry() {
    Child<CGSensorCtrl>(IDC_GSENSOR)->ClearSamples();
    ApplyToMap(m_pMapDlg,
               {QString::fromLatin1(kPathDrivedDeleteScript), QString::fromLatin1(kPathDeleteScript)},
               std::nullopt);
    SetGpsColor(0);
}

void COrvexMainWindow::LoadTrackOf(int index) {
    const LoadTrackResult r = m_plot.LoadTrack(index, m_catalog.Entries());
    if (m_plot.GetCurrent() != index || !m_plot.CurrentTelemetry(m_catalog.Entries())) {
        // No telemetry in this recording: the previous one's curve and track must not stay.
        DropTelemetry();
        return;
    }
    ApplyToMap(m_pMapDlg, r.scripts, r.movePos);
    auto* curve = Child<CGSensorCtrl>(IDC_GSENSOR);
    if (r.clearCurve) curve->ClearSamples();
    if (r.curve) curve->SetUpSeries(r.curve->samples, r.curve->gsensorAttr.data(), r.curve->durationMs);
    if (r.vehicleSample) ShowVehicleSample(*r.vehicleSample);
}

void COrvexMainWindow::FollowTime(int64_t timeMs) {
    const std::vector<RecordingEntry>& entries = m_catalog.Entries();
    // Only the playing recording's own telemetry moves the widgets.
    if (m_plot.GetCurrent() != m_catalog.CurrentEntry() || !m_plot.CurrentTelemetry(entries)) {
        SetGpsColor(0);
        return;
    }
    const UpdateResult u = m_plot.UpdateAtTime(timeMs, m_bGsrShown, m_bMapShown && m_pMapDlg, entries);
    ApplyToMap(m_pMapDlg, u.scripts, u.movePos);
    if (u.curvePosition) {
        auto* curve = Child<CGSensorCtrl>(IDC_GSENSOR);
        curve->SetStopped(false);
        curve->SetPlayPosition(*u.curvePosition);
        double x = 0, y = 0, z = 0;
        curve->GetCurrentValues(x, y, z);
        const LookDownPair pair = LookDownValues(u.lookDownAxisH, u.lookDownAxisV, x, y, z);
        Child<CPropertyGsensorLookDown>(IDC_LOOK_DOWN)->SetValues(pair.first, pair.second);
    }
    if (u.vehicleSample) ShowVehicleSample(*u.vehicleSample);
    auto* compass = Child<CPngCompassStatic>(IDC_COMPASS);
    auto* speed = Child<CSpeedLabelStatic>(IDC_SPEED_LABEL);
    if (u.fixDisplay != FixDisplay::kUnchanged) {
        const bool shown = u.fixDisplay == FixDisplay::kShow;
        if (shown) {
            compass->SetHeading(u.headingDegrees);
        } else {
            compass->m_nImage = 0;
            compass->update();
        }
        speed->m_bValid = shown ? 1 : 0;
        speed->m_nSpeed = shown ? u.speed : 0;
        speed->UpdateTexts();
        speed->update();
    }
    SetGpsColor(u.result != 0 ? 1 : 0);
}

void COrvexMainWindow::ExportKml() {
    OnExportKml(this, m_catalog.Entries(), m_plot);
}
