// SPDX-License-Identifier: GPL-3.0-or-later
// Holding keyboard and pointer on a Wayland desktop: the compositor is asked to
// leave its own shortcuts (Super, Alt+Tab...) to the play window's surface, and
// to keep the pointer inside it. Most compositors offer both (sway and other
// wlroots ones, KWin, mutter); GNOME asks the user once before it agrees.
#pragma once

#include "inputgrab.h"

#include <QPointer>
#include <QWindow>
#include <memory>

struct wl_display;
struct wl_registry;
struct wl_callback;
struct wl_seat;
struct wl_pointer;
struct wl_keyboard;
struct zwp_keyboard_shortcuts_inhibit_manager_v1;
struct zwp_keyboard_shortcuts_inhibitor_v1;
struct zwp_pointer_constraints_v1;
struct zwp_confined_pointer_v1;

namespace Wayland {

// Every proxy goes with the request that destroys it on the compositor's side too.
struct ProxyDeleter
{
    void operator()(wl_registry *proxy) const;
    void operator()(wl_callback *proxy) const;
    void operator()(wl_seat *proxy) const;
    void operator()(wl_pointer *proxy) const;
    void operator()(wl_keyboard *proxy) const;
    void operator()(zwp_keyboard_shortcuts_inhibit_manager_v1 *proxy) const;
    void operator()(zwp_keyboard_shortcuts_inhibitor_v1 *proxy) const;
    void operator()(zwp_pointer_constraints_v1 *proxy) const;
    void operator()(zwp_confined_pointer_v1 *proxy) const;
};
template <typename T> using Proxy = std::unique_ptr<T, ProxyDeleter>;

} // namespace Wayland

class WaylandInputGrab : public InputGrab
{
    Q_OBJECT

public:
    // Binds what the compositor offers on Qt's own connection; its events come
    // through Qt's event dispatch, in the thread of the windows.
    explicit WaylandInputGrab(QObject *parent = nullptr);
    ~WaylandInputGrab() override;
    WaylandInputGrab(const WaylandInputGrab &) = delete;
    WaylandInputGrab &operator=(const WaylandInputGrab &) = delete;

    void take(QWindow *window) override;
    void release() override;
    bool held() const override { return m_inhibitor && m_active; }
    QString problem() const override { return held() ? QString() : m_problem; }
    // True while the compositor keeps the pointer inside the window.
    bool pointerConfined() const { return m_confined; }

private:
    friend struct WaylandListeners; // the compositor's answers come through them
    void globalAdded(uint32_t name, const char *interface, uint32_t version);
    void globalsKnown();
    void seatCapabilities(uint32_t capabilities);
    void inhibitorActive(bool active);
    void pointerConfined(bool confined);
    void apply();
    void confine();
    void flush();

    wl_display *m_display = nullptr;
    Wayland::Proxy<wl_registry> m_registry;
    Wayland::Proxy<wl_callback> m_sync;
    Wayland::Proxy<wl_seat> m_seat;
    Wayland::Proxy<wl_pointer> m_pointer;
    Wayland::Proxy<zwp_keyboard_shortcuts_inhibit_manager_v1> m_inhibitManager;
    Wayland::Proxy<zwp_pointer_constraints_v1> m_constraints;
    // Destroyed before what made them.
    Wayland::Proxy<zwp_keyboard_shortcuts_inhibitor_v1> m_inhibitor;
    Wayland::Proxy<zwp_confined_pointer_v1> m_confinedPointer;

    bool m_globalsKnown = false;
    bool m_wanted = false;
    bool m_active = false;
    bool m_confined = false;
    QPointer<QWindow> m_window;
    QString m_problem;
};
