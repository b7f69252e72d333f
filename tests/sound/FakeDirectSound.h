#pragma once

#include "platform/dsound/dsound.h"

#include <cstdint>
#include <deque>
#include <string>
#include <vector>

namespace soundtest {

// What the fakes did, in order, and how many of them are alive.
struct FakeLog {
    std::vector<std::string> calls;
    int liveDevices = 0;
    int liveBuffers = 0;
    // Live buffers seen by each CreateSoundBuffer call, before it made its own.
    std::vector<int> buffersAtCreate;
    std::vector<int> devicesAtCreate;
    // The last format given to SetFormat.
    WAVEFORMATEX formatSet{};
    bool Called(const std::string& call) const;
};

// A buffer whose answers the test chooses.
class FakeBuffer : public IDirectSoundBuffer {
public:
    FakeBuffer(FakeLog& log, DWORD bytes);

    ULONG AddRef() override { return ++references; }
    ULONG Release() override;
    HRESULT GetCurrentPosition(DWORD*, DWORD*) override { return DSERR_GENERIC; }
    HRESULT GetFormat(WAVEFORMATEX*, DWORD, DWORD*) override { return DSERR_GENERIC; }
    HRESULT GetVolume(LONG*) override { return DSERR_GENERIC; }
    HRESULT GetPan(LONG*) override { return DSERR_GENERIC; }
    HRESULT GetFrequency(DWORD*) override { return DSERR_GENERIC; }
    HRESULT GetStatus(DWORD* status) override;
    HRESULT Lock(DWORD offset, DWORD bytes, void** audio1, DWORD* bytes1, void** audio2,
                 DWORD* bytes2, DWORD flags) override;
    HRESULT Play(DWORD reserved1, DWORD priority, DWORD flags) override;
    HRESULT SetCurrentPosition(DWORD position) override;
    HRESULT SetFormat(const WAVEFORMATEX* format) override;
    HRESULT SetVolume(LONG) override { return DSERR_GENERIC; }
    HRESULT SetPan(LONG) override { return DSERR_GENERIC; }
    HRESULT SetFrequency(DWORD) override { return DSERR_GENERIC; }
    HRESULT Stop() override;
    HRESULT Unlock(void* audio1, DWORD bytes1, void* audio2, DWORD bytes2) override;
    HRESULT Restore() override;

    FakeLog& log;
    std::vector<std::uint8_t> memory;
    HRESULT statusResult = DS_OK;
    DWORD status = 0;
    HRESULT lockResult = DS_OK;
    HRESULT playResult = DS_OK;
    HRESULT stopResult = DS_OK;
    HRESULT setFormatResult = DS_OK;
    // Answers of successive Restore calls; DS_OK once they run out. A successful Restore
    // clears the lost bit.
    std::deque<HRESULT> restoreResults;
    int restoreCalls = 0;

private:
    ~FakeBuffer() override;
    ULONG references = 1;
};

// A device that makes FakeBuffers, or fails where the test says.
class FakeDevice : public IDirectSound {
public:
    explicit FakeDevice(FakeLog& log);

    ULONG AddRef() override { return ++references; }
    ULONG Release() override;
    HRESULT CreateSoundBuffer(const DSBUFFERDESC* desc, IDirectSoundBuffer** buffer,
                              void* outer) override;
    HRESULT SetCooperativeLevel(HWND window, DWORD level) override;

    FakeLog& log;
    HRESULT cooperativeResult = DS_OK;
    HRESULT createResult = DS_OK;
    HRESULT primaryFormatResult = DS_OK;
    // Given to every buffer made from now on.
    HRESULT bufferLockResult = DS_OK;
    HRESULT bufferStatusResult = DS_OK;
    HWND window = nullptr;
    DWORD level = 0;
    DSBUFFERDESC lastDesc{};
    WAVEFORMATEX lastFormat{};
    FakeBuffer* lastBuffer = nullptr;

private:
    ~FakeDevice() override;
    ULONG references = 1;
};

} // namespace soundtest
