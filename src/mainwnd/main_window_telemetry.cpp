// The window's side of the telemetry that follows playback: the presenter (telemetry_presenter.h)
// gets the window's widgets and switches, the window's telemetry calls go to it, and a card that
// does not answer (its telemetry or a player stuck on it) is said in a box that does not stop
// playback; the KML export.
#include "main_window.h"

#include "kml_command.h"
#include "telemetry_presenter.h"
#include "window_modes.h"

#include <QMessageBox>

CTelemetryPresenter& COrvexMainWindow::Telemetry() {
    if (m_pTelemetry) return *m_pTelemetry;
    CTelemetryPresenter::Views views;
    views.child = [this](int id) { return ControlById(id); };
    // While a trip plays the map shows the trip's route, not the recording's track.
    views.map = [this] { return TripOwnsMap() ? nullptr : m_pMapDlg; };
    views.mapShown = [this] { return m_pModes->MapShown(); };
    views.curveShown = [this] { return m_pModes->CurveShown(); };
    m_pTelemetry = new CTelemetryPresenter(m_catalog, std::move(views), this);
    connect(m_pTelemetry, &CTelemetryPresenter::loadTimedOut, this, &COrvexMainWindow::SayCardNotAnswering);
    return *m_pTelemetry;
}

// Said in a box that leaves playback going; one box per text at a time (both players of a card can
// get stuck at once).
void COrvexMainWindow::SayCardNotAnswering(const QString& message) {
    for (QMessageBox* shown : findChildren<QMessageBox*>(QStringLiteral("cardNotAnswering"), Qt::FindDirectChildrenOnly))
        if (shown->isVisible() && shown->text() == message) return;
    auto* box = new QMessageBox(QMessageBox::Warning, windowTitle(), message, QMessageBox::Ok, this);
    box->setObjectName(QStringLiteral("cardNotAnswering"));
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setAccessibleName(message);
    box->setModal(false);
    box->show();
}

const CTrackPlot& COrvexMainWindow::TrackPlot() {
    return Telemetry().Plot();
}

void COrvexMainWindow::SetGpsColor(int color) {
    Telemetry().SetGpsColor(color);
}

void COrvexMainWindow::ClearGauges() {
    Telemetry().ClearGauges();
}

void COrvexMainWindow::DropTelemetry() {
    Telemetry().Drop();
}

void COrvexMainWindow::LoadTrackOf(int index) {
    Telemetry().Open(index);
}

void COrvexMainWindow::FollowTime(int64_t timeMs) {
    Telemetry().FollowTime(timeMs);
}

void COrvexMainWindow::ExportKml() {
    OnExportKml(this, m_catalog.Entries(), Telemetry().Plot());
}
