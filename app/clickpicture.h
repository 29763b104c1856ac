// SPDX-License-Identifier: GPL-3.0-or-later
// The picture a mouse press shows at the pointer: drawn at random from the
// picture folder, it follows the pointer while the button is held and goes a
// little while after the button is let go.
#pragma once

#include "picturefiles.h"

#include <QLabel>
#include <QTimer>
#include <chrono>

class ClickPicture : public QLabel
{
    Q_OBJECT

public:
    // How long a picture stays after the button is let go, until the window's mixer sets its own pace.
    static constexpr std::chrono::milliseconds HideDelay{600};
    // A picture larger than this is never decoded (a decompression bomb stays a file); start-up sets it
    // for the whole process.
    static constexpr int MaxPictureMegabytes = 128;

    // Lies above the window's other controls; pictures are sized for the window.
    explicit ClickPicture(QWidget *window);

    // Lists the pictures of a folder, as a snapshot taken now.
    void setFolder(const QString &folder);
    QString folder() const { return m_pictures.folder(); }
    int pictureCount() const { return m_pictures.count(); }

    // A press at a point of the window: a picture drawn from the list shows there (nothing changes
    // when the list is empty), and a hide still pending is called off while the button is held.
    void press(QPoint at);
    void follow(QPoint at) { move(at); }
    void release() { m_hideTimer.start(); }
    bool hidePending() const { return m_hideTimer.isActive(); }
    std::chrono::milliseconds hideAfter() const { return m_hideTimer.intervalAsDuration(); }
    void setHideAfter(std::chrono::milliseconds delay) { m_hideTimer.setInterval(delay); }

    // Loads a picture, sized for the window; false when the file is no picture.
    bool load(const QString &path);

private:
    QTimer m_hideTimer;
    PictureFiles m_pictures;
};
