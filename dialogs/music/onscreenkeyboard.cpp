// SPDX-License-Identifier: GPL-3.0-or-later
#include "music/onscreenkeyboard.h"

#include "japanesefont.h"
#include "keyslots.h"
#include "twips.h"

#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

namespace {

constexpr int KeySize = 252; // twips; keys overlap by 12 on a 240 pitch, so borders show as one line

std::array<std::pair<int, int>, KeySlots::SlotCount> keyOrigins()
{
    std::array<std::pair<int, int>, KeySlots::SlotCount> origins{};
    auto put = [&origins](int top, int slot, int left) { origins[size_t(slot)] = {left, top}; };
    auto run = [&put](int top, int firstSlot, int lastSlot, int firstLeft) {
        for (int slot = firstSlot; slot <= lastSlot; ++slot) {
            put(top, slot, firstLeft + (slot - firstSlot) * 240);
        }
    };
    // Function row.
    put(720, 0, 360);
    run(720, 1, 4, 840);
    run(720, 5, 8, 1920);
    run(720, 9, 12, 3000);
    run(720, 13, 15, 4200);
    // Digits.
    put(1080, 16, 360);
    run(1080, 17, 26, 600);
    run(1080, 27, 30, 3000);
    run(1080, 31, 33, 4200);
    run(1080, 34, 37, 5040);
    // Q row.
    put(1320, 38, 360);
    run(1320, 39, 48, 720);
    run(1320, 49, 51, 3120);
    run(1320, 52, 54, 4200);
    run(1320, 55, 58, 5040);
    // A row.
    put(1560, 59, 360);
    run(1560, 60, 68, 840);
    run(1560, 69, 71, 3000);
    put(1560, 109, 3720);
    run(1560, 72, 74, 5040);
    // Z row.
    put(1800, 75, 360);
    run(1800, 76, 82, 960);
    run(1800, 83, 87, 2640);
    put(1800, 88, 4440);
    run(1800, 89, 92, 5040);
    // Bottom row.
    for (auto [slot, left] : {std::pair{93, 360},
                              {94, 720},
                              {95, 1080},
                              {96, 1320},
                              {97, 1560},
                              {98, 2280},
                              {99, 2520},
                              {100, 2760},
                              {101, 3000},
                              {102, 3240},
                              {103, 3600}}) {
        put(2040, slot, left);
    }
    run(2040, 104, 106, 4200);
    put(2040, 107, 5040);
    put(2040, 108, 5520);
    return origins;
}

int widthOf(int slot)
{
    switch (slot) {
    case 38:
    case 51:
    case 87:
    case 93:
    case 94:
    case 102:
    case 103: return 372;
    case 59:
    case 107: return 492;
    case 75: return 612;
    case 97: return 732;
    default: return KeySize;
    }
}

int heightOf(int slot)
{
    return slot == 58 || slot == 92 ? 492 : KeySize; // keypad + and Enter span two rows
}

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

OnScreenKeyboard::KeyPlace OnScreenKeyboard::placeOfKey(int slot)
{
    static const std::array<std::pair<int, int>, KeySlots::SlotCount> origins = keyOrigins();
    const auto [left, top] = origins[size_t(slot)];
    return {left, top, widthOf(slot), heightOf(slot)};
}

OnScreenKeyboard::OnScreenKeyboard(QWidget *container) : QWidget(container)
{
    setGeometry(Twips::toPixels(ShapeLeft), Twips::toPixels(ShapeTop), Twips::toPixels(ShapeWidth),
                Twips::toPixels(ShapeHeight));
    for (int slot = 0; slot < KeySlots::SlotCount; ++slot) {
        auto *key = new QLabel(KeySlots::keyCaption(slot), this);
        key->setObjectName(QStringLiteral("key%1").arg(slot));
        const KeyPlace place = placeOfKey(slot);
        // Whole-pixel edges from the twips of each edge, so neighbours still share one line.
        const int left = Twips::toPixels(place.left - ShapeLeft);
        const int top = Twips::toPixels(place.top - ShapeTop);
        key->setGeometry(left, top, Twips::toPixels(place.left - ShapeLeft + place.width) - left,
                         Twips::toPixels(place.top - ShapeTop + place.height) - top);
        key->setFont(JapaneseFont::proportional(slot == 16 ? 4.8 : 7.2));
        key->setAutoFillBackground(true);
        key->setBackgroundRole(QPalette::Base);
        key->setForegroundRole(QPalette::Text);
        const bool enterPart = slot == 51 || slot == 109;
        key->setFrameShape(enterPart ? QFrame::NoFrame : QFrame::Box);
        key->setLineWidth(1);
        key->setMargin(0);
        Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignTop;
        if (slot == 88 || slot == 104 || slot == 105 || slot == 106) {
            alignment = Qt::AlignHCenter | Qt::AlignTop;
        } else if (slot == 108) {
            alignment = Qt::AlignRight | Qt::AlignTop;
        }
        key->setAlignment(alignment);
        fitCaption(key);
        key->setFocusPolicy(Qt::NoFocus);
        key->installEventFilter(this);
        m_keys[size_t(slot)] = key;
    }
    // The L-shaped Enter key: two borderless labels over the keys around them,
    // and Line1 for its right edge, from (3960, 1320) to (3960, 1800) in the container.
    m_keys[51]->raise();
    m_keys[109]->raise();
    auto *line1 = new QWidget(this);
    line1->setObjectName(QStringLiteral("Line1"));
    line1->setGeometry(Twips::toPixels(3960 - ShapeLeft), Twips::toPixels(1320 - ShapeTop), 1,
                       Twips::toPixels(1800 - 1320));
    line1->setAutoFillBackground(true);
    line1->setBackgroundRole(QPalette::WindowText);
    line1->setAttribute(Qt::WA_TransparentForMouseEvents);
    line1->raise();
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
    painter.drawRect(rect().adjusted(0, 0, -1, -1)); // Shape1
}
