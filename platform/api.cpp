// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/api.h"

#include <QAbstractScrollArea>
#include <QEvent>
#include <QPointer>
#include <QWidget>

namespace API {

namespace {

class ContextMenuSwallower : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *, QEvent *event) override { return event->type() == QEvent::ContextMenu; }
};

struct Hook
{
    QPointer<QWidget> textBox;
    QPointer<ContextMenuSwallower> filter;
};

Hook &currentHook()
{
    static Hook hook;
    return hook;
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

} // namespace

void HookTextBox(QWidget *textBox)
{
    Hook &hook = currentHook();
    if (!textBox || hook.textBox) {
        return; // only one box is hooked at a time, as before
    }
    hook.textBox = textBox;
    hook.filter = new ContextMenuSwallower(textBox);
    for (QWidget *target : hookTargets(textBox)) {
        target->installEventFilter(hook.filter);
    }
}

void UnhookTextBox(QWidget *textBox)
{
    Hook &hook = currentHook();
    if (!textBox || hook.textBox != textBox) {
        return;
    }
    for (QWidget *target : hookTargets(textBox)) {
        target->removeEventFilter(hook.filter);
    }
    delete hook.filter;
    hook = Hook{};
}

bool IsTextBoxHooked(const QWidget *textBox)
{
    return textBox && currentHook().textBox == textBox;
}

void MakeTopmost(QWidget *window)
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

} // namespace API
