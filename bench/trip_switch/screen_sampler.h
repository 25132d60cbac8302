// Watches screen rectangles from a thread of its own with its own X connection, so the viewer's UI
// thread is never held up by the measuring: every period it reads the rectangles' pixels from the
// root window (what is really on the screen, whoever drew it) and keeps each one's mean luma with the
// time of the reading. Analysed after the run.
#pragma once

#include <QRect>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <mutex>
#include <thread>
#include <vector>

struct ScreenSample {
    int64_t ns = 0;            // steady clock
    std::vector<double> lumas;     // one per rectangle, 0..255
    std::vector<uint64_t> digests; // one per rectangle: equal when the pixels read are equal
};

class ScreenSampler {
  public:
    // Rectangles in root window (screen) coordinates.
    ScreenSampler(std::vector<QRect> rects, std::chrono::milliseconds period);
    ~ScreenSampler();
    ScreenSampler(const ScreenSampler&) = delete;
    ScreenSampler& operator=(const ScreenSampler&) = delete;

    // False when the display could not be opened (the thread then does nothing).
    bool Start();
    void Stop();
    // The samples taken so far (a copy).
    std::vector<ScreenSample> Samples() const;
    void Clear();

  private:
    void Run();

    std::vector<QRect> m_rects;
    std::chrono::milliseconds m_period;
    std::atomic<bool> m_bRunning{false};
    std::thread m_thread;
    mutable std::mutex m_mutex;
    std::vector<ScreenSample> m_samples;
};

int64_t SteadyNowNs();

// The longest run of samples of rectangle `rect` darker than `threshold` among those taken in
// [fromNs, toNs]: from its first dark sample to the first lit one after it (the sampling period
// is the resolution). 0 when no sample in the span is dark.
// The longest time rectangle `rect` showed one unchanged picture among the samples in
// [fromNs, toNs]: from the first sample of a picture to the first sample of another one.
double LongestStillRunMs(const std::vector<ScreenSample>& samples, size_t rect, int64_t fromNs, int64_t toNs);

// From fromNs to the first sample of rectangle `rect` that differs from the last one read before
// fromNs (the first new picture on the screen); -1 when none until toNs.
double FirstChangeMs(const std::vector<ScreenSample>& samples, size_t rect, int64_t fromNs, int64_t toNs);

double LongestDarkRunMs(const std::vector<ScreenSample>& samples, size_t rect, double threshold, int64_t fromNs,
                        int64_t toNs);
