#include "sound/CWaveResource.h"

#include "platform/Resources.h"

#include <cstring>
#include <new>

namespace {

constexpr std::uint32_t FourCC(char a, char b, char c, char d) {
    return static_cast<std::uint32_t>(static_cast<std::uint8_t>(a)) |
           static_cast<std::uint32_t>(static_cast<std::uint8_t>(b)) << 8 |
           static_cast<std::uint32_t>(static_cast<std::uint8_t>(c)) << 16 |
           static_cast<std::uint32_t>(static_cast<std::uint8_t>(d)) << 24;
}

constexpr std::uint32_t kRiff = FourCC('R', 'I', 'F', 'F');
constexpr std::uint32_t kList = FourCC('L', 'I', 'S', 'T');
constexpr std::uint32_t kWave = FourCC('W', 'A', 'V', 'E');
constexpr std::uint32_t kFmt = FourCC('f', 'm', 't', ' ');
constexpr std::uint32_t kData = FourCC('d', 'a', 't', 'a');

constexpr std::uint32_t kPcmFormatBytes = 16;

std::uint16_t LittleEndian16(const std::uint8_t* bytes) {
    return static_cast<std::uint16_t>(bytes[0] | bytes[1] << 8);
}

std::uint32_t LittleEndian32(const std::uint8_t* bytes) {
    return static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8 |
           static_cast<std::uint32_t>(bytes[2]) << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
}

// End of a chunk including its pad byte; 64 bits so that a lying size cannot wrap around.
std::uint64_t ChunkEnd(const MMCKINFO& chunk) {
    return std::uint64_t{chunk.dwDataOffset} + chunk.cksize + (chunk.cksize & 1u);
}

} // namespace

CWaveResource::~CWaveResource() {
    Close();
}

int CWaveResource::OpenResource(std::uint16_t resourceNumber) {
    const std::uint8_t* bytes = nullptr;
    std::uint32_t size = 0;
    if (!platform::FindResource("WAVE", resourceNumber, &bytes, &size) || !bytes) {
        return 0;
    }
    return OpenMemory(bytes, size);
}

int CWaveResource::OpenMemory(const std::uint8_t* bytes, std::uint32_t length) {
    // Copy before closing: the bytes may belong to what Close frees (the format record).
    std::unique_ptr<std::uint8_t[]> fresh;
    if (bytes || length == 0) {
        fresh.reset(new (std::nothrow) std::uint8_t[length]);
    }
    if (fresh && length != 0) {
        std::memcpy(fresh.get(), bytes, length);
    }
    Close();
    if (!fresh) {
        return 0;
    }
    copy = std::move(fresh);
    copyLength = length;
    fileOpen = true;
    position = 0;

    // A failed open leaves the reader closed, with nothing of this file or the last one.
    if (!ParseHeader() || !Rewind()) {
        Close();
        return 0;
    }
    dataSize = dataChunk.cksize;
    return 1;
}

int CWaveResource::ParseHeader() {
    FreeFormat();
    if (!fileOpen || !Seek(0)) {
        return 0;
    }
    MMCKINFO riff;
    if (!Descend(riff) || riff.ckid != kRiff || riff.fccType != kWave) {
        return 0;
    }
    riffChunk = riff;

    MMCKINFO fmt;
    if (!FindChunk(fmt, riffChunk, kFmt) || fmt.cksize < kPcmFormatBytes) {
        return 0;
    }
    std::uint8_t pcm[kPcmFormatBytes];
    if (ReadFile(pcm, kPcmFormatBytes) != kPcmFormatBytes) {
        return 0;
    }
    const std::uint16_t formatTag = LittleEndian16(pcm);

    // A PCM record never carries extra bytes, whatever the chunk's stored count says.
    std::uint8_t extraCount[2] = {0, 0};
    if (formatTag != WAVE_FORMAT_PCM && ReadFile(extraCount, sizeof extraCount) != 2) {
        return 0;
    }
    const std::uint16_t extra = LittleEndian16(extraCount);
    const std::uint32_t recordSize = sizeof(WAVEFORMATEX) + extra;
    std::unique_ptr<std::uint8_t[]> record(new (std::nothrow) std::uint8_t[recordSize]);
    if (!record) {
        return 0;
    }
    // The record is the chunk's own little-endian layout, as the platform defines it.
    std::memcpy(record.get(), pcm, kPcmFormatBytes);
    std::memcpy(record.get() + kPcmFormatBytes, extraCount, sizeof extraCount);
    if (extra != 0 && ReadFile(record.get() + sizeof(WAVEFORMATEX), extra) != extra) {
        return 0;
    }
    if (!Ascend(fmt)) {
        return 0;
    }
    formatStorage = std::move(record);
    format = reinterpret_cast<WAVEFORMATEX*>(formatStorage.get());
    return 1;
}

int CWaveResource::Rewind() {
    if (!fileOpen) {
        return 0;
    }
    MMCKINFO data;
    // Fails only for a file without "data", which never stays open.
    if (!Seek(std::uint64_t{riffChunk.dwDataOffset} + 4) || !FindChunk(data, riffChunk, kData)) {
        return 0;
    }
    dataChunk = data;
    return 1;
}

int CWaveResource::Read(std::uint8_t* destination, std::uint32_t wanted, std::uint32_t* delivered) {
    if (!fileOpen || !destination || !delivered) {
        return 0;
    }
    *delivered = 0;
    const std::uint32_t n = wanted < dataChunk.cksize ? wanted : dataChunk.cksize;
    dataChunk.cksize -= n;
    // Running into the end of the copy is a failed read, even with some bytes copied.
    if (ReadFile(destination, n) != n) {
        return 0;
    }
    *delivered = n;
    return 1;
}

int CWaveResource::Close() {
    fileOpen = false;
    position = 0;
    copy.reset();
    copyLength = 0;
    FreeFormat();
    dataSize = 0;
    dataChunk = {};
    riffChunk = {};
    return 1;
}

std::uint32_t CWaveResource::ReadFile(void* destination, std::uint32_t wanted) {
    if (!fileOpen || position >= copyLength) {
        return 0;
    }
    const std::uint32_t available = copyLength - position;
    const std::uint32_t n = wanted < available ? wanted : available;
    std::memcpy(destination, copy.get() + position, n);
    position += n;
    return n;
}

bool CWaveResource::Seek(std::uint64_t offset) {
    if (!fileOpen || offset > copyLength) {
        return false;
    }
    position = static_cast<std::uint32_t>(offset);
    return true;
}

bool CWaveResource::Descend(MMCKINFO& chunk) {
    const std::uint32_t start = position;
    std::uint8_t header[8];
    if (ReadFile(header, sizeof header) != sizeof header) {
        Seek(start);
        return false;
    }
    chunk.ckid = LittleEndian32(header);
    chunk.cksize = LittleEndian32(header + 4);
    chunk.fccType = 0;
    chunk.dwDataOffset = start + 8;
    chunk.dwFlags = 0;
    if (chunk.ckid == kRiff || chunk.ckid == kList) {
        std::uint8_t type[4];
        if (ReadFile(type, sizeof type) != sizeof type) {
            Seek(start);
            return false;
        }
        chunk.fccType = LittleEndian32(type);
    }
    return true;
}

bool CWaveResource::FindChunk(MMCKINFO& chunk, const MMCKINFO& parent, std::uint32_t id) {
    const std::uint64_t parentEnd = std::uint64_t{parent.dwDataOffset} + parent.cksize;
    for (;;) {
        if (position >= parentEnd) {
            return false;
        }
        const std::uint32_t start = position;
        std::uint8_t header[8];
        if (ReadFile(header, sizeof header) != sizeof header) {
            Seek(start);
            return false;
        }
        MMCKINFO found;
        found.ckid = LittleEndian32(header);
        found.cksize = LittleEndian32(header + 4);
        found.dwDataOffset = start + 8;
        if (found.ckid == id) {
            chunk = found;
            return true;
        }
        if (!Seek(ChunkEnd(found))) {
            return false;
        }
    }
}

bool CWaveResource::Ascend(const MMCKINFO& chunk) {
    return Seek(ChunkEnd(chunk));
}

void CWaveResource::FreeFormat() {
    format = nullptr;
    formatStorage.reset();
}
