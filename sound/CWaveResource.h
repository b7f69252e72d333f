#pragma once

#include "platform/dsound/dsound.h"

#include <cstdint>
#include <memory>

// A chunk record: identifier, size, form type (RIFF only), where its data starts.
struct MMCKINFO {
    std::uint32_t ckid = 0;
    std::uint32_t cksize = 0;
    std::uint32_t fccType = 0;
    std::uint32_t dwDataOffset = 0;
    std::uint32_t dwFlags = 0;
};

// Reads a RIFF WAVE recording from a private copy of its bytes: a format record and the
// bytes of its "data" chunk.
class CWaveResource {
public:
    CWaveResource() = default;
    CWaveResource(const CWaveResource&) = delete;
    CWaveResource& operator=(const CWaveResource&) = delete;
    ~CWaveResource();

    int OpenResource(std::uint16_t resourceNumber);
    int OpenMemory(const std::uint8_t* bytes, std::uint32_t length);
    int ParseHeader();
    int Rewind();
    int Read(std::uint8_t* destination, std::uint32_t wanted, std::uint32_t* delivered);
    int Close();

    // The format record (18 + cbSize bytes), or none while closed.
    WAVEFORMATEX* format = nullptr;
    // Size of the "data" chunk as found when opened; 0 while closed.
    std::uint32_t dataSize = 0;

private:
    // The in-memory file over the copy: every move is checked against copyLength.
    std::uint32_t ReadFile(void* destination, std::uint32_t wanted);
    bool Seek(std::uint64_t offset);
    bool Descend(MMCKINFO& chunk);
    bool FindChunk(MMCKINFO& chunk, const MMCKINFO& parent, std::uint32_t id);
    bool Ascend(const MMCKINFO& chunk);
    void FreeFormat();

    bool fileOpen = false;
    std::uint32_t position = 0;
    MMCKINFO dataChunk;
    MMCKINFO riffChunk;
    std::unique_ptr<std::uint8_t[]> copy;
    std::uint32_t copyLength = 0;
    std::unique_ptr<std::uint8_t[]> formatStorage;
};
