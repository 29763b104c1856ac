// SPDX-License-Identifier: GPL-3.0-or-later
#include "startup.h"

#include "clickpicture.h"
#include "messages.h"
#include "programplaces.h"

#include <QCoreApplication>
#include <QImageReader>

namespace {

PlayWindow::Devices devicesFor(bool keyboardLock)
{
    PlayWindow::Devices devices;
    devices.keyboardLock = keyboardLock;
    return devices;
}

} // namespace

void StartUp::configureProcess()
{
    QImageReader::setAllocationLimit(ClickPicture::MaxPictureMegabytes);
}

StartUp::StartUp(bool keyboardLock)
    // Where the executable lies, so a copied folder is a working copy; an installed copy keeps a
    // folder for each user.
    : m_folder(ProgramPlaces::choose(ProgramPlaces::forExecutable(QCoreApplication::applicationFilePath())))
    , m_instance(m_folder.path())
    , m_window(m_folder, settingsIn(m_folder), devicesFor(keyboardLock), m_instance.anotherInstanceRunning())
{
    // Said once, before the window shows.
    DialogMessages::mixerError(&m_window, m_window.volumeFrame()->openMixer());
}

Settings::Record StartUp::settingsIn(const ProgramFolder &folder)
{
    Settings::Record settings;
    Settings::load(folder.optionFile(), settings);
    return settings;
}
