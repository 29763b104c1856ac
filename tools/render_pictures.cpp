// SPDX-License-Identifier: GPL-3.0-or-later
// Renders the click pictures, drawn as SVG, into JPEG files for the program folder.
// Usage: render_pictures <output folder> <drawing.svg>...
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QImageWriter>
#include <QPainter>
#include <QStringList>
#include <QSvgRenderer>
#include <cstdio>

namespace {

// A 160 px JPEG is about 8 KB, where a BMP would be 77 KB: the drawings are square cards that fill the
// whole image, so the missing transparency costs nothing.
constexpr int PictureSide = 160; // pixels; the play window shrinks it further in a small window
constexpr int JpegQuality = 95;  // keeps the dark outlines free of smudges

// Qt SVG warns about some faults it draws around (a fill that names no gradient) and carries on.
// A drawing that does not come out as written must stop the build, so those warnings are kept here.
QStringList svgComplaints;
QtMessageHandler defaultHandler = nullptr;

void collectSvgComplaints(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (type != QtDebugMsg && type != QtInfoMsg && context.category
        && QByteArray(context.category).startsWith("qt.svg")) {
        svgComplaints.append(message);
        return;
    }
    defaultHandler(type, context, message);
}

bool renderPicture(const QString &svgPath, const QDir &outputFolder)
{
    svgComplaints.clear();
    QSvgRenderer drawing(svgPath);
    // A JPEG has no transparency: whatever the drawing leaves open comes out white.
    QImage picture(PictureSide, PictureSide, QImage::Format_RGB32);
    picture.fill(Qt::white);
    if (drawing.isValid()) {
        QPainter painter(&picture);
        painter.setRenderHint(QPainter::Antialiasing);
        drawing.setAspectRatioMode(Qt::KeepAspectRatio);
        drawing.render(&painter, QRectF(0, 0, PictureSide, PictureSide));
    }
    if (!drawing.isValid() || !svgComplaints.isEmpty()) {
        fprintf(stderr, "%s: not a drawing this program can render\n", qPrintable(svgPath));
        for (const QString &complaint : std::as_const(svgComplaints)) {
            fprintf(stderr, "  %s\n", qPrintable(complaint));
        }
        return false;
    }
    const QString target =
        outputFolder.filePath(QFileInfo(svgPath).completeBaseName() + QStringLiteral(".jpg"));
    QImageWriter writer(target, "jpeg");
    writer.setQuality(JpegQuality);
    writer.setOptimizedWrite(true);
    if (!writer.write(picture)) {
        fprintf(stderr, "%s: cannot write %s: %s\n", qPrintable(svgPath), qPrintable(target),
                qPrintable(writer.errorString()));
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList arguments = app.arguments().mid(1);
    if (arguments.size() < 2) {
        fprintf(stderr, "usage: render_pictures <output folder> <drawing.svg>...\n");
        return 2;
    }
    const QDir outputFolder(arguments.first());
    if (!outputFolder.mkpath(QStringLiteral("."))) {
        fprintf(stderr, "cannot make the folder %s\n", qPrintable(arguments.first()));
        return 1;
    }
    defaultHandler = qInstallMessageHandler(collectSvgComplaints);
    bool allRendered = true;
    for (const QString &svgPath : arguments.mid(1)) {
        allRendered = renderPicture(svgPath, outputFolder) && allRendered;
    }
    return allRendered ? 0 : 1;
}
