// A full refresh as one playback position update makes it: a new vehicle sample into the
// thirteen gauges, new G values into the look-down gauge, a new speed and heading into the top
// bar, a new playback speed; then every one of them painted once at its window size.
#include "gauges_refresh.h"

#include "png_compass_static.h"
#include "property_controls.h"
#include "speed_label_static.h"
#include "vehicle_sample_view.h"

#include <QElapsedTimer>
#include <QImage>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

namespace {

std::string EnglishText(unsigned id) {
    return id == 1096 ? "Auto" : "On+Auto";
}

// A varying sample: every field moves so that no text stays the same between refreshes.
VehicleSample SampleAt(int i) {
    VehicleSample sample;
    std::memset(&sample, 0, sizeof sample);
    sample.hour = uint8_t(i / 3600 % 24);
    sample.minute = uint8_t(i / 60 % 60);
    sample.second = uint8_t(i % 60);
    sample.day = 9;
    sample.month = 12;
    sample.year = 2026;
    sample.steeringAngle = uint8_t(78 + i % 100);
    sample.outsideTemperature = uint8_t(80 + i % 40);
    sample.waterTemperature = uint8_t(100 + i % 50);
    sample.oilTemperature = uint8_t(110 + i % 50);
    sample.gear = uint8_t(5 + i % 10);
    sample.turnLights = uint8_t(i / 8 % 4);
    sample.accelerator = uint16_t(4096 + i * 37 % 4000);
    sample.power = uint8_t(i % 101);
    sample.torque = uint8_t(i * 3 % 101);
    sample.engineSpeed = uint16_t(800 + i * 13 % 5000);
    sample.speed = uint16_t(i * 97 % 8000);
    sample.brake = uint8_t(i % 10);
    return sample;
}

struct Board {
    std::vector<std::unique_ptr<CPropertyText>> texts; // 11 value gauges
    CPropertySteeringAngle steering;
    CPropertyTurnSignal turn;
    CPropertyGsensorLookDown lookDown;
    CSpeedLabelStatic speedLabel;
    CPbSpeedLabelStatic playbackSpeed;
    CPngCompassStatic compass;
    std::vector<QWidget*> all;
    std::vector<QImage> surfaces;
    VehicleGauges gauges;
    TurnLightsState memory;

    Board() {
        // Sizes of a 1280-pixel-wide main window: rows of three 350 and six 175 pixel cells.
        for (int i = 0; i < 11; ++i) {
            texts.push_back(std::make_unique<CPropertyText>());
            texts.back()->resize(i < 4 ? 350 : 175, 45);
            texts.back()->m_strCaption = QStringLiteral("Caption %1").arg(i);
        }
        steering.resize(350, 45);
        steering.m_strCaption = QStringLiteral("Steering Angle");
        turn.resize(350, 57);
        turn.m_strCaption = QStringLiteral("Turn lights");
        lookDown.resize(200, 195);
        speedLabel.resize(72, 36);
        playbackSpeed.resize(72, 36);
        compass.resize(32, 32);
        for (int resource = 197; resource <= 204; ++resource)
            compass.AddImage(resource);
        gauges = {texts[0].get(), texts[1].get(),  &steering,      texts[2].get(), texts[3].get(),
                  texts[4].get(), texts[5].get(),  texts[6].get(), texts[7].get(), texts[8].get(),
                  texts[9].get(), texts[10].get(), &turn};
        for (auto& text : texts)
            all.push_back(text.get());
        for (QWidget* widget : std::initializer_list<QWidget*>{&steering, &turn, &lookDown, &speedLabel,
                                                               &playbackSpeed, &compass})
            all.push_back(widget);
        for (QWidget* widget : all)
            surfaces.emplace_back(widget->size(), QImage::Format_RGB32);
    }

    void Refresh(int i, uint16_t speedKmh) {
        FillVehicleGauges(SampleAt(i), gauges, memory, EnglishText);
        lookDown.SetValues((i % 40 - 20) / 10.0, (i % 30 - 15) / 10.0);
        speedLabel.m_bValid = 1;
        speedLabel.m_nSpeed = speedKmh;
        speedLabel.UpdateTexts();
        compass.SetHeading(i * 2 % 512);
        playbackSpeed.SetLabel(i % 2 ? "2.0 X" : "0.5 X", 1);
        for (size_t k = 0; k < all.size(); ++k)
            all[k]->render(&surfaces[k]);
    }
};

} // namespace

namespace {

// Median of `runs` refreshes; `speedOf(i)` is the speed shown by refresh i.
template <typename SpeedOf> double MedianRefreshMs(Board& board, int runs, SpeedOf speedOf) {
    std::vector<double> times;
    QElapsedTimer clock;
    for (int i = 1; i <= runs; ++i) {
        clock.start();
        board.Refresh(i, speedOf(i));
        times.push_back(clock.nsecsElapsed() / 1e6);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

void PrintRefresh(const char* name, double medianMs) {
    std::printf("%-52s median %7.3f ms  (goal <= 1 ms)\n", name, medianMs);
}

} // namespace

void MeasureGaugesRefresh(int runs) {
    Board board;
    // Speeds of a drive (0..119 km/h) have all been shown once before: the usual case, as the
    // speed changes at most once per GPS fix and comes back to values seen before.
    for (int i = 0; i < 120; ++i)
        board.Refresh(i, uint16_t(i));
    PrintRefresh("Full refresh: 13 gauges, look-down, 3 labels",
                 MedianRefreshMs(board, runs, [](int i) { return uint16_t(i % 120); }));
    // Every refresh shows a speed never shown before: the glow text is stroked each time.
    PrintRefresh("Full refresh, speed text never shown before",
                 MedianRefreshMs(board, runs, [](int i) { return uint16_t(1000 + i); }));
}
