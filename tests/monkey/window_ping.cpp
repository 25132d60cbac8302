// veltrix-window-ping WINDOW [TIMEOUT_MS]: asks an X11 window's program whether it still answers.
// Sends the window the _NET_WM_PING message that window managers use to find hung programs; the
// toolkit answers it from its user-interface thread, so the answer's delay is how long that
// thread did not run its event loop. Prints the delay in milliseconds.
// Exit status: 0 answered, 1 no answer within the timeout, 2 no display, bad window or no ping
// support.
#include <xcb/xcb.h>

#include <poll.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

namespace {

using Clock = std::chrono::steady_clock;

struct FreeDeleter {
    void operator()(void* p) const { std::free(p); }
};
template <class T> using XcbReply = std::unique_ptr<T, FreeDeleter>;

xcb_atom_t InternAtom(xcb_connection_t* connection, const char* name) {
    const auto cookie = xcb_intern_atom(connection, 0, static_cast<uint16_t>(std::strlen(name)), name);
    XcbReply<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(connection, cookie, nullptr));
    return reply ? reply->atom : static_cast<xcb_atom_t>(XCB_ATOM_NONE);
}

// True when the window lists _NET_WM_PING among its WM_PROTOCOLS.
bool SupportsPing(xcb_connection_t* connection, xcb_window_t window, xcb_atom_t protocols, xcb_atom_t ping) {
    const auto cookie = xcb_get_property(connection, 0, window, protocols, XCB_ATOM_ATOM, 0, 64);
    XcbReply<xcb_get_property_reply_t> reply(xcb_get_property_reply(connection, cookie, nullptr));
    if (!reply || reply->format != 32) return false;
    const int count = xcb_get_property_value_length(reply.get()) / 4;
    const auto* atoms = static_cast<const xcb_atom_t*>(xcb_get_property_value(reply.get()));
    for (int i = 0; i < count; ++i)
        if (atoms[i] == ping) return true;
    return false;
}

int Usage() {
    std::fprintf(stderr, "usage: veltrix-window-ping WINDOW [TIMEOUT_MS]\n");
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2 || argc > 3) return Usage();
    char* end = nullptr;
    const unsigned long windowId = std::strtoul(argv[1], &end, 0);
    if (*end != '\0' || windowId == 0 || windowId > 0xffffffffUL) return Usage();
    const long timeoutMs = argc == 3 ? std::strtol(argv[2], nullptr, 10) : 2000;
    if (timeoutMs <= 0) return Usage();
    const auto window = static_cast<xcb_window_t>(windowId);

    xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(connection)) {
        std::fprintf(stderr, "veltrix-window-ping: cannot open the display\n");
        return 2;
    }
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
    const xcb_atom_t protocols = InternAtom(connection, "WM_PROTOCOLS");
    const xcb_atom_t ping = InternAtom(connection, "_NET_WM_PING");
    if (!SupportsPing(connection, window, protocols, ping)) {
        std::fprintf(stderr, "veltrix-window-ping: window 0x%lx is gone or takes no ping\n", windowId);
        xcb_disconnect(connection);
        return 2;
    }
    // The answer is sent to the root window for the clients that watch its structure (Qt names
    // StructureNotify and SubstructureRedirect; other toolkits the substructure masks).
    const uint32_t mask = XCB_EVENT_MASK_STRUCTURE_NOTIFY | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(connection, root, XCB_CW_EVENT_MASK, &mask);

    const auto start = Clock::now();
    const auto stamp = static_cast<uint32_t>(
        std::chrono::duration_cast<std::chrono::milliseconds>(start.time_since_epoch()).count());
    xcb_client_message_event_t message{};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = window;
    message.type = protocols;
    message.data.data32[0] = ping;
    message.data.data32[1] = stamp;
    message.data.data32[2] = window;
    xcb_send_event(connection, 0, window, XCB_EVENT_MASK_NO_EVENT, reinterpret_cast<const char*>(&message));
    xcb_flush(connection);

    const auto deadline = start + std::chrono::milliseconds(timeoutMs);
    pollfd descriptor{xcb_get_file_descriptor(connection), POLLIN, 0};
    while (true) {
        while (xcb_generic_event_t* raw = xcb_poll_for_event(connection)) {
            XcbReply<xcb_generic_event_t> event(raw);
            if ((event->response_type & 0x7f) != XCB_CLIENT_MESSAGE) continue;
            const auto* answer = reinterpret_cast<const xcb_client_message_event_t*>(raw);
            if (answer->type == protocols && answer->data.data32[0] == ping &&
                answer->data.data32[1] == stamp) {
                const auto ms =
                    std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
                std::printf("%lld\n", static_cast<long long>(ms));
                xcb_disconnect(connection);
                return 0;
            }
        }
        if (xcb_connection_has_error(connection)) break;
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (left <= 0) break;
        poll(&descriptor, 1, static_cast<int>(left));
    }
    std::printf("no answer within %ld ms\n", timeoutMs);
    xcb_disconnect(connection);
    return 1;
}
