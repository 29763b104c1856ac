// SPDX-License-Identifier: GPL-3.0-or-later
#include "inputgrab.h"

#include "wayland/waylandinputgrab.h"
#include "x11inputgrab.h"

#include <QGuiApplication>

namespace {

// Where nothing can hold the keyboard, the toy still plays and the lock says so.
class NoInputGrab : public InputGrab
{
public:
    using InputGrab::InputGrab;
    void take(QWindow *) override
    {
        m_problem =
            QStringLiteral("the %1 platform offers no way to hold them").arg(QGuiApplication::platformName());
    }
    void release() override { m_problem.clear(); }
    bool held() const override { return false; }
    QString problem() const override { return m_problem; }

private:
    QString m_problem;
};

} // namespace

std::unique_ptr<InputGrab> makeInputGrab(QObject *parent)
{
    if (QGuiApplication::platformName() == u"xcb") {
        return std::make_unique<X11InputGrab>(parent);
    }
    if (QGuiApplication::platformName() == u"wayland") {
        return std::make_unique<WaylandInputGrab>(parent);
    }
    return std::make_unique<NoInputGrab>(parent);
}
