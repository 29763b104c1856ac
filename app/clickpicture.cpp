// SPDX-License-Identifier: GPL-3.0-or-later
#include "clickpicture.h"

#include "applogging.h"
#include "random.h"
#include "windowlayout.h"

#include <QImageReader>

ClickPicture::ClickPicture(QWidget *window) : QLabel(window), m_pictures(QStringLiteral("*.bmp;*jpg;*.gif"))
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
        // Int(r × n) in single precision; the clamp keeps a rounding at the top inside the list.
        const int index = std::min(int(Random::next() * float(count)), count - 1);
        QString folder = m_pictures.folder();
        if (folder.endsWith(u'/')) {
            folder.chop(1);
        }
        if (!load(folder + u'/' + m_pictures.name(index))) {
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
