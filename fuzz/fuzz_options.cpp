// SPDX-License-Identifier: GPL-3.0-or-later
// Any bytes as Option.dat: reading never crashes, and whatever was read can be
// written and read back to the same record.
#include "settings/options.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    Options::Record record;
    Options::ParseOptions(QByteArrayView(reinterpret_cast<const char *>(data), qsizetype(size)), record);

    QByteArray written;
    if (!Options::FormatOptions(record, written)) {
        abort(); // everything that was read must be writable again
    }
    Options::Record reread;
    Options::ParseOptions(written, reread);
    if (reread != record) {
        abort();
    }
    return 0;
}
