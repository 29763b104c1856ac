// SPDX-License-Identifier: GPL-3.0-or-later
#include "wayland/waylandinputgrab.h"

#include "platformlogging.h"

#include <QGuiApplication>
#include <cstring>
#include <qpa/qplatformnativeinterface.h>

#include "keyboard-shortcuts-inhibit-unstable-v1-client-protocol.h"
#include "pointer-constraints-unstable-v1-client-protocol.h"
#include <wayland-client.h>

namespace Wayland {

void ProxyDeleter::operator()(wl_registry *proxy) const
{
    wl_registry_destroy(proxy);
}
void ProxyDeleter::operator()(wl_callback *proxy) const
{
    wl_callback_destroy(proxy);
}
void ProxyDeleter::operator()(wl_seat *proxy) const
{
    if (wl_seat_get_version(proxy) >= WL_SEAT_RELEASE_SINCE_VERSION) {
        wl_seat_release(proxy);
    } else {
        wl_seat_destroy(proxy);
    }
}
void ProxyDeleter::operator()(wl_pointer *proxy) const
{
    if (wl_pointer_get_version(proxy) >= WL_POINTER_RELEASE_SINCE_VERSION) {
        wl_pointer_release(proxy);
    } else {
        wl_pointer_destroy(proxy);
    }
}
void ProxyDeleter::operator()(zwp_keyboard_shortcuts_inhibit_manager_v1 *proxy) const
{
    zwp_keyboard_shortcuts_inhibit_manager_v1_destroy(proxy);
}
void ProxyDeleter::operator()(zwp_keyboard_shortcuts_inhibitor_v1 *proxy) const
{
    zwp_keyboard_shortcuts_inhibitor_v1_destroy(proxy);
}
void ProxyDeleter::operator()(zwp_pointer_constraints_v1 *proxy) const
{
    zwp_pointer_constraints_v1_destroy(proxy);
}
void ProxyDeleter::operator()(zwp_confined_pointer_v1 *proxy) const
{
    zwp_confined_pointer_v1_destroy(proxy);
}

} // namespace Wayland

namespace {

constexpr uint32_t SeatVersion = 5; // capabilities, and release (5) for a clean end
QPlatformNativeInterface *nativeInterface()
{
    if (!qGuiApp || !QGuiApplication::platformName().startsWith(QLatin1String("wayland"))) {
        return nullptr; // on X11 the same resource names give X11 handles
    }
    return QGuiApplication::platformNativeInterface();
}

WaylandInputGrab *grabOf(void *data)
{
    return static_cast<WaylandInputGrab *>(data);
}

} // namespace

struct WaylandListeners
{
    static void global(void *data, wl_registry *, uint32_t name, const char *interface, uint32_t version)
    {
        grabOf(data)->globalAdded(name, interface, version);
    }
    // A seat or manager that goes away takes its objects with it; the next Take finds out.
    static void globalRemove(void *, wl_registry *, uint32_t) {}
    static void done(void *data, wl_callback *, uint32_t) { grabOf(data)->globalsKnown(); }
    static void capabilities(void *data, wl_seat *, uint32_t capabilities)
    {
        grabOf(data)->seatCapabilities(capabilities);
    }
    static void seatName(void *, wl_seat *, const char *) {}
    static void active(void *data, zwp_keyboard_shortcuts_inhibitor_v1 *)
    {
        grabOf(data)->inhibitorActive(true);
    }
    static void inactive(void *data, zwp_keyboard_shortcuts_inhibitor_v1 *)
    {
        grabOf(data)->inhibitorActive(false);
    }
    static void confined(void *data, zwp_confined_pointer_v1 *) { grabOf(data)->pointerConfined(true); }
    static void unconfined(void *data, zwp_confined_pointer_v1 *) { grabOf(data)->pointerConfined(false); }

    static constexpr wl_registry_listener Registry{global, globalRemove};
    static constexpr wl_callback_listener Sync{done};
    static constexpr wl_seat_listener Seat{capabilities, seatName};
    static constexpr zwp_keyboard_shortcuts_inhibitor_v1_listener Inhibitor{active, inactive};
    static constexpr zwp_confined_pointer_v1_listener Confined{confined, unconfined};
};

WaylandInputGrab::WaylandInputGrab(QObject *parent) : InputGrab(parent)
{
    QPlatformNativeInterface *native = nativeInterface();
    m_display =
        native ? static_cast<wl_display *>(native->nativeResourceForIntegration("wl_display")) : nullptr;
    if (!m_display) {
        m_problem = QStringLiteral("it is not running on Wayland");
        return;
    }
    // The registry lives on Qt's event queue: Qt reads and dispatches its events
    // with its own, so nothing here ever blocks or reads the connection.
    m_registry.reset(wl_display_get_registry(m_display));
    wl_registry_add_listener(m_registry.get(), &WaylandListeners::Registry, this);
    // The answer to a sync comes after every global has been announced.
    m_sync.reset(wl_display_sync(m_display));
    wl_callback_add_listener(m_sync.get(), &WaylandListeners::Sync, this);
    flush();
}

WaylandInputGrab::~WaylandInputGrab() = default;

void WaylandInputGrab::globalAdded(uint32_t name, const char *interface, uint32_t version)
{
    if (std::strcmp(interface, zwp_keyboard_shortcuts_inhibit_manager_v1_interface.name) == 0
        && !m_inhibitManager) {
        m_inhibitManager.reset(static_cast<zwp_keyboard_shortcuts_inhibit_manager_v1 *>(wl_registry_bind(
            m_registry.get(), name, &zwp_keyboard_shortcuts_inhibit_manager_v1_interface, 1)));
    } else if (std::strcmp(interface, zwp_pointer_constraints_v1_interface.name) == 0 && !m_constraints) {
        m_constraints.reset(static_cast<zwp_pointer_constraints_v1 *>(
            wl_registry_bind(m_registry.get(), name, &zwp_pointer_constraints_v1_interface, 1)));
    } else if (std::strcmp(interface, wl_seat_interface.name) == 0 && !m_seat) {
        // The first seat, as Qt's own default input device.
        m_seat.reset(static_cast<wl_seat *>(
            wl_registry_bind(m_registry.get(), name, &wl_seat_interface, std::min(version, SeatVersion))));
        wl_seat_add_listener(m_seat.get(), &WaylandListeners::Seat, this);
    }
}

void WaylandInputGrab::globalsKnown()
{
    m_sync.reset();
    m_globalsKnown = true;
    if (!m_constraints) {
        qCWarning(lcKeyboard, "The Wayland compositor cannot keep the pointer inside the window "
                              "(it offers no pointer constraints)");
    }
    if (m_wanted) {
        apply();
        emit changed();
    }
}

void WaylandInputGrab::seatCapabilities(uint32_t capabilities)
{
    const bool hasPointer = capabilities & WL_SEAT_CAPABILITY_POINTER;
    if (hasPointer == bool(m_pointer)) {
        return;
    }
    m_confinedPointer.reset();
    m_confined = false;
    m_pointer.reset(hasPointer ? wl_seat_get_pointer(m_seat.get()) : nullptr);
    if (m_inhibitor) {
        confine(); // a mouse plugged in while the toy holds the keyboard is held too
    }
    flush();
}

void WaylandInputGrab::take(QWindow *window)
{
    if (m_wanted && window == m_window && m_inhibitor) {
        return; // asked already: the compositor answers in its own time
    }
    release();
    m_wanted = true;
    m_window = window;
    if (!m_display) {
        return;
    }
    if (m_globalsKnown) {
        apply();
    } else {
        m_problem = QStringLiteral("the Wayland compositor has not answered yet");
    }
}

void WaylandInputGrab::apply()
{
    QPlatformNativeInterface *native = nativeInterface();
    auto *surface = native && m_window
                        ? static_cast<wl_surface *>(native->nativeResourceForWindow("surface", m_window))
                        : nullptr;
    if (!m_inhibitManager) {
        m_problem = QStringLiteral("the Wayland compositor does not offer to inhibit its shortcuts "
                                   "(zwp_keyboard_shortcuts_inhibit_manager_v1)");
    } else if (!m_seat) {
        m_problem = QStringLiteral("the Wayland compositor has no seat");
    } else if (!surface) {
        m_problem = QStringLiteral("the window is not shown");
    } else {
        // Starts inactive: the compositor tells when it agrees, GNOME after asking the user.
        m_active = false;
        m_problem = QStringLiteral("the Wayland compositor has not let the window inhibit its shortcuts "
                                   "(GNOME asks the user first)");
        m_inhibitor.reset(zwp_keyboard_shortcuts_inhibit_manager_v1_inhibit_shortcuts(m_inhibitManager.get(),
                                                                                      surface, m_seat.get()));
        zwp_keyboard_shortcuts_inhibitor_v1_add_listener(m_inhibitor.get(), &WaylandListeners::Inhibitor,
                                                         this);
        confine();
    }
    flush();
}

void WaylandInputGrab::confine()
{
    QPlatformNativeInterface *native = nativeInterface();
    auto *surface = native && m_window
                        ? static_cast<wl_surface *>(native->nativeResourceForWindow("surface", m_window))
                        : nullptr;
    if (!m_constraints || !m_pointer || !surface || m_confinedPointer) {
        return; // no mouse, or a compositor that cannot confine it: the keyboard alone is held
    }
    // Persistent: confined again whenever the pointer comes back into the window.
    m_confinedPointer.reset(
        zwp_pointer_constraints_v1_confine_pointer(m_constraints.get(), surface, m_pointer.get(), nullptr,
                                                   ZWP_POINTER_CONSTRAINTS_V1_LIFETIME_PERSISTENT));
    zwp_confined_pointer_v1_add_listener(m_confinedPointer.get(), &WaylandListeners::Confined, this);
}

void WaylandInputGrab::inhibitorActive(bool active)
{
    m_active = active;
    qCDebug(lcKeyboard, "The Wayland compositor %s its shortcuts",
            active ? "leaves the window" : "takes back");
    if (!active) {
        // GNOME gives the shortcuts back on Super+Escape; only the compositor can take them again.
        m_problem = QStringLiteral("the Wayland compositor took its shortcuts back");
    }
    emit changed();
}

void WaylandInputGrab::pointerConfined(bool confined)
{
    m_confined = confined;
}

void WaylandInputGrab::release()
{
    m_wanted = false;
    m_active = false;
    m_confined = false;
    if (!m_display) {
        return; // the reason stays: there is nothing to release
    }
    m_problem.clear();
    const bool held = m_inhibitor || m_confinedPointer;
    m_confinedPointer.reset();
    m_inhibitor.reset();
    if (held) {
        flush();
        qCDebug(lcKeyboard, "The window gives the Wayland compositor its shortcuts back");
    }
}

void WaylandInputGrab::flush()
{
    // Requests otherwise wait in the buffer until Qt next writes something.
    wl_display_flush(m_display);
}
