// SPDX-License-Identifier: GPL-3.0-or-later
#include "clickpicture.h"

#include "applogging.h"
#include "paths.h"
#include "random.h"
#include "windowlayout.h"

#include <QImageReader>

// BMP, JPEG and GIF. The middle entry has no dot on purpose, as the settings of every copy expect:
// "cjpg" and "x.jpg" count, "x.jpeg" does not; PNG is not among them.
constexpr char PicturePattern[] = "*.bmp;*jpg;*.gif";

ClickPicture::ClickPicture(QWidget *window) : QLabel(window), m_pictures(QString::fromLatin1(PicturePattern))
{
    setObjectName(QStringLiteral("clickPicture"));
    setGeometry(Twips::rect(480, 2520, 732, 612));
    setAttribute(Qt::WA_TransparentForMouseEvents); // the pointer is always at its corner
    setScaledContents(true);
    hide();
    m_hideTimer.setSingleShot(true);
    m_hideTimer.setInterval(HideDelay);
    connect(&m_hideTimer, &QTimer::timeout, this, &QWidget::hide); // the picture stays loaded till the next
}

void ClickPicture::setFolder(const QString &folder)
{
    m_pictures.setFolder(folder);
}

void ClickPicture::press(QPoint at)
{
    const int count = m_pictures.count();
    if (count > 0) {
        // The draw times the count, in single precision, cut to a whole number; the clamp keeps a
        // rounding at the top inside the list.
        const int index = std::min(int(Random::next() * float(count)), count - 1);
        if (!load(Paths::join(m_pictures.folder(), m_pictures.name(index)))) {
            clear();
        }
        move(at);
        setVisible(!pixmap().isNull());
        repaint();
    }
    m_hideTimer.stop(); // the picture stays while the button is held
}

bool ClickPicture::load(const QString &path)
{
    QImageReader reader(path);
    reader.setAutoTransform(true);
    QSize size = reader.size(); // read from the header: nothing is decoded yet
    if (!reader.canRead() || !size.isValid()) {
        return false;
    }
    const QSize window = parentWidget()->size();
    const WindowLayout::Size shown =
        WindowLayout::pictureSize({size.width(), size.height()}, {window.width(), window.height()});
    if (shown.width < size.width()) {
        reader.setScaledSize(QSize(shown.width, shown.height)); // JPEG decodes straight to the small size
    }
    const QImage image = reader.read();
    if (image.isNull()) {
        qCWarning(lcPictures, "Zubelo cannot show the picture %s: %s", qPrintable(path),
                  qPrintable(reader.errorString()));
        return false;
    }
    setPixmap(QPixmap::fromImage(image));
    resize(shown.width, shown.height);
    return true;
}
