// SPDX-License-Identifier: GPL-3.0-or-later
#include "keyresponse.h"

#include "keyslots.h"
#include "paths.h"
#include "virtualkey.h"

#include <QFileInfo>

namespace KeyResponse {

namespace {

QString clickSong(Button button)
{
    switch (button) {
    case Button::Left: return QStringLiteral("ClickLeft.mid");
    case Button::Right: return QStringLiteral("ClickRight.mid");
    case Button::Middle: return QStringLiteral("ClickMiddle.mid");
    }
    return {};
}

// Alt with L, R or M plays a click song, as the mouse buttons do.
std::optional<Button> altClick(int keyCode)
{
    switch (keyCode) {
    case KeyCodes::L: return Button::Left;
    case KeyCodes::R: return Button::Right;
    case KeyCodes::M: return Button::Middle;
    default: return std::nullopt;
    }
}

Response respond(const QString &song, const ProgramFolder &folder, bool paints)
{
    Response response;
    response.paints = paints;
    // Names written on Windows, or read back from the settings file, may be spelled otherwise on disk.
    response.song = Paths::locate(folder.resolve(song));
    // Lyrics lie beside the song, with "txt" for the last three characters.
    if (response.song.size() >= 3) {
        const QString lyrics = Paths::locate(response.song.chopped(3) + QStringLiteral("txt"));
        const QFileInfo file(lyrics);
        if (file.isFile() && !file.fileName().startsWith(u'.')) {
            response.lyrics = lyrics;
        }
    }
    return response;
}

// While a song plays and the parent asked to wait, keys and clicks only type; Esc still stops the song.
bool heldBack(bool esc, const Settings::Record &settings, bool songPlaying)
{
    return settings.playWait && songPlaying && !esc;
}

} // namespace

QColor colourOf(quint32 bgr)
{
    return QColor(int(bgr & 0xFF), int((bgr >> 8) & 0xFF), int((bgr >> 16) & 0xFF));
}

QColor colourForDraw(float draw)
{
    // The draw times eight, in single precision, cut to a whole number.
    return colourOf(Colours[size_t(draw * float(Colours.size()))]);
}

std::optional<Button> clickButton(Qt::MouseButtons buttons)
{
    if (buttons & Qt::LeftButton) {
        return Button::Left;
    }
    if (buttons & Qt::RightButton) {
        return Button::Right;
    }
    if (buttons & Qt::MiddleButton) {
        return Button::Middle;
    }
    return std::nullopt;
}

std::optional<Response> forKey(int keyCode, int modifiers, const Settings::Record &settings,
                               const ProgramFolder &folder, bool songPlaying)
{
    if (heldBack(keyCode == KeyCodes::Esc, settings, songPlaying)) {
        return std::nullopt;
    }
    if (modifiers & VirtualKey::AltMask) {
        // Alt never changes the colour; with a key other than L, R and M it plays that key's own song.
        const std::optional<Button> click = altClick(keyCode);
        const QString &keysOwn = settings.songFile[size_t(KeySlots::slotForKeyCode(keyCode))];
        return respond(click ? clickSong(*click) : keysOwn, folder, false);
    }
    return respond(settings.songFile[size_t(KeySlots::slotForKeyCode(keyCode))], folder, true);
}

std::optional<Response> forClick(Button button, const Settings::Record &settings, const ProgramFolder &folder,
                                 bool songPlaying)
{
    if (heldBack(false, settings, songPlaying)) {
        return std::nullopt;
    }
    return respond(clickSong(button), folder, false);
}

} // namespace KeyResponse
