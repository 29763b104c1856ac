// SPDX-License-Identifier: GPL-3.0-or-later
// Any bytes as Option.dat: reading never crashes, and whatever was read can be
// written and read back to the same record. The same bytes as typed text: a
// number of any length reads, and a name the file can store comes back as the
// same name.
#include "paths.h"
#include "settings.h"
#include "shiftjis.h"

#include <cmath>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    Settings::Record record;
    Settings::parse(bytes, record);

    QByteArray written;
    if (!Settings::format(record, written)) {
        abort(); // everything that was read must be writable again
    }
    Settings::Record reread;
    Settings::parse(written, reread);
    if (reread != record) {
        abort();
    }

    const QString typed = QString::fromUtf8(bytes);
    if (std::isnan(Settings::numberFromText(typed))) {
        abort();
    }
    if (Settings::canStore(typed) && !Paths::sameName(ShiftJis::decode(*ShiftJis::encode(typed)), typed)) {
        abort(); // a stored name must find its file again
    }
    return 0;
}
