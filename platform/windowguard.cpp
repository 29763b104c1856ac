// SPDX-License-Identifier: GPL-3.0-or-later
#include "windowguard.h"

#include "wayland/waylandprobe.h"

#include <QAbstractScrollArea>
#include <QEvent>
#include <QWidget>

namespace WindowGuard {

namespace {

class ContextMenuSwallower : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *, QEvent *event) override { return event->type() == QEvent::ContextMenu; }
};

// The swallower lives as a child of the box it is hooked into, by this name.
constexpr char SwallowerName[] = "contextMenuSwallower";

QObject *swallowerOf(const QWidget *textBox)
{
    return textBox ? textBox->findChild<QObject *>(QLatin1String(SwallowerName), Qt::FindDirectChildrenOnly)
                   : nullptr;
}

// A scroll area gets mouse menus through its viewport and keyboard menus itself.
QList<QWidget *> hookTargets(QWidget *textBox)
{
    QList<QWidget *> targets{textBox};
    if (auto *area = qobject_cast<QAbstractScrollArea *>(textBox)) {
        targets << area->viewport();
    }
    return targets;
}

// Fixes the window's size whenever it shows, or the window manager gives it a
// new size, at normal size. Back from maximised, the normal size may still be on
// its way: a window fixed at its maximised size would be kept at it, so a change
// of state alone counts only when the window already has its normal size.
class NormalSizeFixer : public QObject
{
public:
    explicit NormalSizeFixer(QWidget *window) : QObject(window), m_normalSize(window->size()) {}

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        auto *window = static_cast<QWidget *>(watched);
        if (window->windowState() != Qt::WindowNoState) {
            return false;
        }
        const QEvent::Type type = event->type();
        const bool settled = type == QEvent::Show || type == QEvent::Resize
                             || (type == QEvent::WindowStateChange && window->size() == m_normalSize);
        if (settled) {
            m_normalSize = window->size();
            window->setFixedSize(m_normalSize);
        }
        return false;
    }

private:
    QSize m_normalSize;
};

} // namespace

void hookTextBox(QWidget *textBox)
{
    if (!textBox || swallowerOf(textBox)) {
        return;
    }
    auto *swallower = new ContextMenuSwallower(textBox);
    swallower->setObjectName(QLatin1String(SwallowerName));
    for (QWidget *target : hookTargets(textBox)) {
        target->installEventFilter(swallower);
    }
}

void unhookTextBox(QWidget *textBox)
{
    delete swallowerOf(textBox); // a filter that is deleted filters no more
}

bool isTextBoxHooked(const QWidget *textBox)
{
    return swallowerOf(textBox) != nullptr;
}

void makeTopmost(QWidget *window)
{
    if (!window || window->windowFlags().testFlag(Qt::WindowStaysOnTopHint)) {
        return;
    }
    const bool wasVisible = window->isVisible();
    // Changing a window flag hides the window; bring it back where it was, unactivated.
    window->setWindowFlag(Qt::WindowStaysOnTopHint, true);
    if (wasVisible) {
        const bool wasNoActivate = window->testAttribute(Qt::WA_ShowWithoutActivating);
        window->setAttribute(Qt::WA_ShowWithoutActivating, true);
        window->show();
        window->setAttribute(Qt::WA_ShowWithoutActivating, wasNoActivate);
    }
}

void fixBorderAtNormalSize(QWidget *window)
{
    // A Wayland compositor first shows a new window at no state at all, before it grants the full
    // screen asked for: a size fixed then would hold the window small. It sizes windows itself.
    if (window && !Wayland::runsOnWayland()) {
        window->installEventFilter(new NormalSizeFixer(window));
    }
}

void freeBorder(QWidget *window)
{
    if (window) {
        window->setMinimumSize(0, 0);
        window->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    }
}

} // namespace WindowGuard
