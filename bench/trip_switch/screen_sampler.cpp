#include "screen_sampler.h"

#include <algorithm>

#include <X11/Xlib.h>
#include <X11/Xutil.h>

int64_t SteadyNowNs() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

ScreenSampler::ScreenSampler(std::vector<QRect> rects, std::chrono::milliseconds period)
    : m_rects(std::move(rects)), m_period(period) {}

ScreenSampler::~ScreenSampler() {
    Stop();
}

bool ScreenSampler::Start() {
    Display* probe = XOpenDisplay(nullptr);
    if (!probe) return false;
    XCloseDisplay(probe);
    m_bRunning = true;
    m_thread = std::thread([this] { Run(); });
    return true;
}

void ScreenSampler::Stop() {
    m_bRunning = false;
    if (m_thread.joinable()) m_thread.join();
}

std::vector<ScreenSample> ScreenSampler::Samples() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_samples;
}

void ScreenSampler::Clear() {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_samples.clear();
}

namespace {

// Mean luma (BT.601) of a ZPixmap of depth 24/32, every second pixel of every second row, and a
// digest (FNV-1a) of those pixels.
double MeanLuma(XImage* image, uint64_t& digest) {
    digest = 1469598103934665603ull;
    double sum = 0;
    int64_t count = 0;
    for (int y = 0; y < image->height; y += 2)
        for (int x = 0; x < image->width; x += 2) {
            const unsigned long pixel = XGetPixel(image, x, y);
            digest = (digest ^ (pixel & 0xffffff)) * 1099511628211ull;
            const double r = static_cast<double>((pixel >> 16) & 0xff);
            const double g = static_cast<double>((pixel >> 8) & 0xff);
            const double b = static_cast<double>(pixel & 0xff);
            sum += 0.299 * r + 0.587 * g + 0.114 * b;
            ++count;
        }
    return count ? sum / static_cast<double>(count) : 0;
}

} // namespace

void ScreenSampler::Run() {
    Display* display = XOpenDisplay(nullptr);
    if (!display) return;
    const Window root = DefaultRootWindow(display);
    auto next = std::chrono::steady_clock::now();
    while (m_bRunning) {
        ScreenSample sample;
        sample.ns = SteadyNowNs();
        for (const QRect& r : m_rects) {
            XImage* image = XGetImage(display, root, r.x(), r.y(), static_cast<unsigned>(r.width()),
                                      static_cast<unsigned>(r.height()), AllPlanes, ZPixmap);
            uint64_t digest = 0;
            sample.lumas.push_back(image ? MeanLuma(image, digest) : -1);
            sample.digests.push_back(digest);
            if (image) XDestroyImage(image);
        }
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_samples.push_back(std::move(sample));
        }
        next += m_period;
        const auto now = std::chrono::steady_clock::now();
        if (next < now) next = now; // a late reading does not make the next ones come in a burst
        std::this_thread::sleep_until(next);
    }
    XCloseDisplay(display);
}

double LongestDarkRunMs(const std::vector<ScreenSample>& samples, size_t rect, double threshold, int64_t fromNs,
                        int64_t toNs) {
    double longest = 0;
    int64_t darkSince = -1;
    for (const ScreenSample& s : samples) {
        if (s.ns < fromNs || rect >= s.lumas.size()) continue;
        const bool dark = s.lumas[rect] >= 0 && s.lumas[rect] < threshold;
        if (dark && darkSince < 0) darkSince = s.ns;
        if (!dark && darkSince >= 0) {
            longest = std::max(longest, static_cast<double>(s.ns - darkSince) / 1e6);
            darkSince = -1;
        }
        if (s.ns > toNs) break;
    }
    if (darkSince >= 0 && !samples.empty()) // still dark at the end of the span
        longest = std::max(longest, static_cast<double>(std::min(toNs, samples.back().ns) - darkSince) / 1e6);
    return longest;
}

double LongestStillRunMs(const std::vector<ScreenSample>& samples, size_t rect, int64_t fromNs, int64_t toNs) {
    double longest = 0;
    int64_t since = -1;
    uint64_t shown = 0;
    for (const ScreenSample& s : samples) {
        if (s.ns < fromNs || rect >= s.digests.size()) continue;
        if (since < 0 || s.digests[rect] != shown) {
            if (since >= 0) longest = std::max(longest, static_cast<double>(s.ns - since) / 1e6);
            since = s.ns;
            shown = s.digests[rect];
        }
        if (s.ns > toNs) break;
    }
    return longest;
}

double FirstChangeMs(const std::vector<ScreenSample>& samples, size_t rect, int64_t fromNs, int64_t toNs) {
    bool known = false;
    uint64_t before = 0;
    for (const ScreenSample& s : samples) {
        if (rect >= s.digests.size()) continue;
        if (s.ns < fromNs) {
            before = s.digests[rect];
            known = true;
            continue;
        }
        if (s.ns > toNs) break;
        if (!known) {
            before = s.digests[rect];
            known = true;
        } else if (s.digests[rect] != before) {
            return static_cast<double>(s.ns - fromNs) / 1e6;
        }
    }
    return -1;
}
