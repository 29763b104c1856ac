// SPDX-License-Identifier: GPL-3.0-or-later
// A drawing of a Japanese keyboard with one clickable label per key slot, in
// the music settings dialog. Nothing in it changes while it is shown.
#pragma once

#include "keyslots.h"

#include <QLabel>
#include <QWidget>
#include <array>

class OnScreenKeyboard : public QWidget
{
    Q_OBJECT

public:
    // The drawing's frame rectangle (Shape1) within its container, in twips.
    static constexpr int ShapeLeft = 240;
    static constexpr int ShapeTop = 600;
    static constexpr int ShapeWidth = 5892;
    static constexpr int ShapeHeight = 1812;

    explicit OnScreenKeyboard(QWidget *container);

    // The key of a slot.
    QLabel *key(int slot) const { return m_keys[size_t(slot)]; }

    // Position and size of a slot's key within the container, in twips.
    struct KeyPlace
    {
        int left;
        int top;
        int width;
        int height;
    };
    static KeyPlace placeOfKey(int slot);

signals:
    void keyClicked(int slot);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    std::array<QLabel *, KeySlots::SlotCount> m_keys{};
};
