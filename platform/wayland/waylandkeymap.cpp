// SPDX-License-Identifier: GPL-3.0-or-later
#include "wayland/waylandkeymap.h"

#include "wayland/waylandinputgrab.h"
#include "wayland/waylandprobe.h"

#include <QGuiApplication>
#include <cstring>
#include <qpa/qplatformnativeinterface.h>
#include <sys/mman.h>
#include <unistd.h>
#include <wayland-client.h>
#include <xkbcommon/xkbcommon.h>

namespace Wayland {

void ProxyDeleter::operator()(wl_keyboard *proxy) const
{
    if (wl_keyboard_get_version(proxy) >= WL_KEYBOARD_RELEASE_SINCE_VERSION) {
        wl_keyboard_release(proxy);
    } else {
        wl_keyboard_destroy(proxy);
    }
}

namespace {

struct QueueDestroyer
{
    void operator()(wl_event_queue *queue) const { wl_event_queue_destroy(queue); }
};
struct WrapperDestroyer
{
    void operator()(wl_display *wrapper) const { wl_proxy_wrapper_destroy(wrapper); }
};
struct KeymapUnref
{
    void operator()(xkb_keymap *keymap) const { xkb_keymap_unref(keymap); }
    void operator()(xkb_context *context) const { xkb_context_unref(context); }
};

// What the compositor tells a new keyboard of its first seat.
struct Query
{
    Proxy<wl_seat> seat;
    Proxy<wl_keyboard> keyboard;
    std::unique_ptr<xkb_context, KeymapUnref> context{xkb_context_new(XKB_CONTEXT_NO_FLAGS)};
    std::unique_ptr<xkb_keymap, KeymapUnref> keymap;
};

void onKeymap(void *data, wl_keyboard *, uint32_t format, int32_t fd, uint32_t size)
{
    auto *query = static_cast<Query *>(data);
    void *text = format == WL_KEYBOARD_KEYMAP_FORMAT_XKB_V1 && query->context
                     ? mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fd, 0)
                     : MAP_FAILED;
    if (text != MAP_FAILED) {
        // The text ends in a zero byte within size.
        query->keymap.reset(xkb_keymap_new_from_string(query->context.get(), static_cast<const char *>(text),
                                                       XKB_KEYMAP_FORMAT_TEXT_V1,
                                                       XKB_KEYMAP_COMPILE_NO_FLAGS));
        munmap(text, size);
    }
    close(fd);
}
void onEnter(void *, wl_keyboard *, uint32_t, wl_surface *, wl_array *) {}
void onLeave(void *, wl_keyboard *, uint32_t, wl_surface *) {}
void onKey(void *, wl_keyboard *, uint32_t, uint32_t, uint32_t, uint32_t) {}
void onModifiers(void *, wl_keyboard *, uint32_t, uint32_t, uint32_t, uint32_t, uint32_t) {}
void onRepeat(void *, wl_keyboard *, int32_t, int32_t) {}
const wl_keyboard_listener KeyboardListener{onKeymap, onEnter, onLeave, onKey, onModifiers, onRepeat};

void onCapabilities(void *data, wl_seat *seat, uint32_t capabilities)
{
    auto *query = static_cast<Query *>(data);
    if ((capabilities & WL_SEAT_CAPABILITY_KEYBOARD) && !query->keyboard) {
        query->keyboard.reset(wl_seat_get_keyboard(seat));
        wl_keyboard_add_listener(query->keyboard.get(), &KeyboardListener, query);
    }
}
void onSeatName(void *, wl_seat *, const char *) {}
const wl_seat_listener SeatListener{onCapabilities, onSeatName};

void onGlobal(void *data, wl_registry *registry, uint32_t name, const char *interface, uint32_t version)
{
    auto *query = static_cast<Query *>(data);
    if (std::strcmp(interface, wl_seat_interface.name) == 0 && !query->seat) {
        query->seat.reset(static_cast<wl_seat *>(
            wl_registry_bind(registry, name, &wl_seat_interface, std::min(version, 5u))));
        wl_seat_add_listener(query->seat.get(), &SeatListener, query);
    }
}
void onGlobalRemove(void *, wl_registry *, uint32_t) {}
const wl_registry_listener RegistryListener{onGlobal, onGlobalRemove};

} // namespace

quint32 keySymOf(quint32 keycode)
{
    auto *display =
        runsOnWayland() ? static_cast<wl_display *>(
            QGuiApplication::platformNativeInterface()->nativeResourceForIntegration("wl_display"))
                        : nullptr;
    if (!display) {
        return 0;
    }
    // A queue of its own: the round trips below dispatch nothing of Qt's.
    std::unique_ptr<wl_event_queue, QueueDestroyer> queue(wl_display_create_queue(display));
    std::unique_ptr<wl_display, WrapperDestroyer> wrapper(
        static_cast<wl_display *>(wl_proxy_create_wrapper(display)));
    wl_proxy_set_queue(reinterpret_cast<wl_proxy *>(wrapper.get()), queue.get());
    Query query;
    Proxy<wl_registry> registry(wl_display_get_registry(wrapper.get()));
    wl_registry_add_listener(registry.get(), &RegistryListener, &query);
    // The seat, its keyboard, then the keymap: a round trip each.
    for (int step = 0; step < 3 && !query.keymap; ++step) {
        if (wl_display_roundtrip_queue(display, queue.get()) < 0) {
            return 0;
        }
    }
    const xkb_keysym_t *symbols = nullptr;
    const int count =
        query.keymap ? xkb_keymap_key_get_syms_by_level(query.keymap.get(), keycode, 0, 0, &symbols) : 0;
    return count > 0 ? symbols[0] : 0;
}

} // namespace Wayland
