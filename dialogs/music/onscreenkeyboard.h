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
    // The keyboard's outline within its container, in twips; the keys' places are the slot table's.
    static constexpr int OutlineLeft = 240;
    static constexpr int OutlineTop = 600;
    static constexpr int OutlineWidth = 5892;
    static constexpr int OutlineHeight = 1812;

    explicit OnScreenKeyboard(QWidget *container);

    // The key of a slot.
    QLabel *key(int slot) const { return m_keys[size_t(slot)]; }

signals:
    void keyClicked(int slot);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    std::array<QLabel *, KeySlots::SlotCount> m_keys{};
};
