// SPDX-License-Identifier: GPL-3.0-or-later
#include "wayland/waylandprobe.h"

#include <QGuiApplication>
#include <cstring>
#include <memory>
#include <wayland-client.h>

namespace Wayland {

namespace {

struct DisplayCloser
{
    void operator()(wl_display *display) const { wl_display_disconnect(display); }
};
struct RegistryDestroyer
{
    void operator()(wl_registry *registry) const { wl_registry_destroy(registry); }
};

constexpr const char *InhibitManager = "zwp_keyboard_shortcuts_inhibit_manager_v1";

void onGlobal(void *data, wl_registry *, uint32_t, const char *interface, uint32_t)
{
    if (std::strcmp(interface, InhibitManager) == 0) {
        *static_cast<bool *>(data) = true;
    }
}

void onGlobalRemove(void *, wl_registry *, uint32_t) {}

const wl_registry_listener ProbeListener{onGlobal, onGlobalRemove};

} // namespace

bool compositorInhibitsShortcuts()
{
    // Without WAYLAND_DISPLAY the library would try wayland-0 on its own; and a
    // socket handed over in WAYLAND_SOCKET can be taken only once, by Qt.
    if (qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") || qEnvironmentVariableIsSet("WAYLAND_SOCKET")) {
        return false;
    }
    std::unique_ptr<wl_display, DisplayCloser> display(wl_display_connect(nullptr));
    if (!display) {
        return false; // a stale variable: no compositor listens there
    }
    bool offered = false;
    std::unique_ptr<wl_registry, RegistryDestroyer> registry(wl_display_get_registry(display.get()));
    if (!registry || wl_registry_add_listener(registry.get(), &ProbeListener, &offered) != 0) {
        return false;
    }
    // Every global is announced before the answer to one round trip.
    if (wl_display_roundtrip(display.get()) < 0) {
        return false;
    }
    return offered;
}

bool runsOnWayland()
{
    return QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

QByteArray choosePlatform(const QByteArray &qpaPlatform, bool waylandInhibits, bool hasX11Display)
{
    if (!qpaPlatform.isEmpty()) {
        return {};
    }
    // Qt tries the next platform of a list when the first cannot start (no plugin, no server).
    if (waylandInhibits) {
        return QByteArrayLiteral("wayland;xcb");
    }
    return hasX11Display ? QByteArrayLiteral("xcb;wayland") : QByteArrayLiteral("wayland");
}

} // namespace Wayland
