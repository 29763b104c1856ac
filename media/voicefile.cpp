// SPDX-License-Identifier: GPL-3.0-or-later
#include "voicefile.h"

#include "medialogging.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <sndfile.h>

namespace VoiceFile {

namespace {

struct SndfileCloser
{
    void operator()(SNDFILE *file) const { sf_close(file); }
};

// A growing file in memory for libsndfile's virtual I/O.
struct MemoryFile
{
    QByteArray bytes;
    sf_count_t position = 0;
};

MemoryFile &memory(void *data)
{
    return *static_cast<MemoryFile *>(data);
}

sf_count_t length(void *data)
{
    return memory(data).bytes.size();
}

sf_count_t seek(sf_count_t offset, int whence, void *data)
{
    MemoryFile &file = memory(data);
    const sf_count_t from = whence == SEEK_SET ? 0 : whence == SEEK_CUR ? file.position : file.bytes.size();
    if (from + offset < 0) {
        return -1;
    }
    file.position = from + offset;
    return file.position;
}

sf_count_t read(void *out, sf_count_t count, void *data)
{
    MemoryFile &file = memory(data);
    const sf_count_t taken = std::clamp<sf_count_t>(file.bytes.size() - file.position, 0, count);
    std::memcpy(out, file.bytes.constData() + file.position, size_t(taken));
    file.position += taken;
    return taken;
}

sf_count_t write(const void *in, sf_count_t count, void *data)
{
    MemoryFile &file = memory(data);
    if (file.position + count > file.bytes.size()) {
        file.bytes.resize(qsizetype(file.position + count)); // a seek past the end leaves a gap of zeros
    }
    std::memcpy(file.bytes.data() + file.position, in, size_t(count));
    file.position += count;
    return count;
}

sf_count_t tell(void *data)
{
    return memory(data).position;
}

} // namespace

QByteArray encodeWave(const std::vector<float> &samples, int rate)
{
    SF_VIRTUAL_IO io{&length, &seek, &read, &write, &tell};
    MemoryFile file;
    SF_INFO info{0, rate, 1, SF_FORMAT_WAV | SF_FORMAT_PCM_16, 0, 0};
    std::unique_ptr<SNDFILE, SndfileCloser> wave(sf_open_virtual(&io, SFM_WRITE, &info, &file));
    if (!wave) {
        qCWarning(lcAudio, "Cannot make a WAVE of the recording: %s", sf_strerror(nullptr));
        return QByteArray();
    }
    const sf_count_t frames = sf_count_t(samples.size());
    if (sf_writef_float(wave.get(), samples.data(), frames) != frames) {
        qCWarning(lcAudio, "Cannot make a WAVE of the recording: %s", sf_strerror(wave.get()));
        return QByteArray();
    }
    wave.reset(); // the header is complete once the file is closed
    return file.bytes;
}

} // namespace VoiceFile
