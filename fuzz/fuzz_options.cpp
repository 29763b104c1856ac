// SPDX-License-Identifier: GPL-3.0-or-later
// Any bytes as Option.dat: reading never crashes, and whatever was read can be
// written and read back to the same record. The same bytes as typed text: a
// number of any length reads, and a name the file can store comes back as the
// same name.
#include "options.h"
#include "paths.h"
#include "shiftjis.h"

#include <cmath>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    Options::Record record;
    Options::ParseOptions(bytes, record);

    QByteArray written;
    if (!Options::FormatOptions(record, written)) {
        abort(); // everything that was read must be writable again
    }
    Options::Record reread;
    Options::ParseOptions(written, reread);
    if (reread != record) {
        abort();
    }

    const QString typed = QString::fromUtf8(bytes);
    if (std::isnan(Options::NumberFromText(typed))) {
        abort();
    }
    if (Options::CanStore(typed) && !Paths::SameName(ShiftJis::Decode(*ShiftJis::Encode(typed)), typed)) {
        abort(); // a stored name must find its file again
    }
    return 0;
}
