// SPDX-License-Identifier: GPL-3.0-or-later
#include "music/onscreenkeyboard.h"

#include "japanesefont.h"
#include "keyslots.h"
#include "twips.h"

#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

namespace {

// The right edge of the L-shaped Enter key, from (3960, 1320) to (3960, 1800) in the container, in twips.
constexpr int EnterEdgeLeft = 3960;
constexpr int EnterEdgeTop = 1320;
constexpr int EnterEdgeBottom = 1800;

// The stand-in fonts are wider than the ones the keyboard was drawn for, so a
// caption that would be cut first breaks where it can (半角 over 全角), then
// takes a narrower face, then gets smaller until the whole of it shows in its key.
void fitCaption(QLabel *key)
{
    constexpr double SmallestPoints = 4.8; // the smallest caption of the drawing
    const QRect room = key->contentsRect();
    QFont font = key->font();
    auto fits = [&] {
        const int flags = int(key->alignment()) | (key->wordWrap() ? Qt::TextWordWrap : 0);
        return room.contains(QFontMetrics(font).boundingRect(room, flags, key->text()));
    };
    if (!fits()) {
        key->setWordWrap(true);
    }
    if (!fits()) {
        font.setStretch(QFont::Condensed);
    }
    while (!fits() && font.pointSizeF() > SmallestPoints) {
        font.setPointSizeF(font.pointSizeF() - 0.2);
    }
    key->setFont(font);
}

} // namespace

OnScreenKeyboard::OnScreenKeyboard(QWidget *container) : QWidget(container)
{
    setGeometry(Twips::toPixels(OutlineLeft), Twips::toPixels(OutlineTop), Twips::toPixels(OutlineWidth),
                Twips::toPixels(OutlineHeight));
    for (int slot = 0; slot < KeySlots::SlotCount; ++slot) {
        const KeySlots::KeyDrawing drawing = KeySlots::keyDrawing(slot);
        auto *key = new QLabel(KeySlots::keyCaption(slot), this);
        key->setObjectName(QStringLiteral("key%1").arg(slot));
        // Whole-pixel edges from the twips of each edge, so neighbours still share one line.
        const int left = Twips::toPixels(drawing.left - OutlineLeft);
        const int top = Twips::toPixels(drawing.top - OutlineTop);
        key->setGeometry(left, top, Twips::toPixels(drawing.left - OutlineLeft + drawing.width) - left,
                         Twips::toPixels(drawing.top - OutlineTop + drawing.height) - top);
        key->setFont(JapaneseFont::proportional(drawing.captionPoints));
        key->setAutoFillBackground(true);
        key->setBackgroundRole(QPalette::Base);
        key->setForegroundRole(QPalette::Text);
        const bool boxed = drawing.border == KeySlots::KeyDrawing::Border::Box;
        key->setFrameShape(boxed ? QFrame::Box : QFrame::NoFrame);
        key->setLineWidth(1);
        key->setMargin(0);
        using Align = KeySlots::KeyDrawing::Align;
        const Qt::Alignment across = drawing.align == Align::Centre  ? Qt::AlignHCenter
                                     : drawing.align == Align::Right ? Qt::AlignRight
                                                                     : Qt::AlignLeft;
        key->setAlignment(across | Qt::AlignTop);
        fitCaption(key);
        key->setFocusPolicy(Qt::NoFocus);
        key->installEventFilter(this);
        m_keys[size_t(slot)] = key;
    }
    // The two borderless halves of the L-shaped Enter lie over the keys around them, and a line of
    // its own draws its right edge.
    for (QLabel *key : m_keys) {
        if (key->frameShape() == QFrame::NoFrame) {
            key->raise();
        }
    }
    auto *enterEdge = new QWidget(this);
    enterEdge->setObjectName(QStringLiteral("enterEdge"));
    enterEdge->setGeometry(Twips::toPixels(EnterEdgeLeft - OutlineLeft),
                           Twips::toPixels(EnterEdgeTop - OutlineTop), 1,
                           Twips::toPixels(EnterEdgeBottom - EnterEdgeTop));
    enterEdge->setAutoFillBackground(true);
    enterEdge->setBackgroundRole(QPalette::WindowText);
    enterEdge->setAttribute(Qt::WA_TransparentForMouseEvents);
    enterEdge->raise();
}

bool OnScreenKeyboard::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonRelease
        && static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
        auto *key = static_cast<QLabel *>(watched);
        if (key->rect().contains(static_cast<QMouseEvent *>(event)->position().toPoint())) {
            const auto found = std::find(m_keys.begin(), m_keys.end(), key);
            if (found != m_keys.end()) {
                emit keyClicked(int(found - m_keys.begin()));
                return true;
            }
        }
    }
    return QWidget::eventFilter(watched, event);
}

void OnScreenKeyboard::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawRect(rect().adjusted(0, 0, -1, -1)); // the keyboard's outline
}
