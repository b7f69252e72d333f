#pragma once

// A device and buffers that count how many of them are alive and fail where the test says; the
// buffers hand out plain memory and answer nothing else.

#include "platform/dsound/dsound.h"

#include <cstdint>
#include <vector>

namespace soundtest {

struct FakeLog {
    int liveDevices = 0;
    int liveBuffers = 0;
    std::vector<int> devicesAtCreate; // live devices seen by each DirectSoundCreate
    std::vector<int> buffersAtCreate; // live buffers seen by each CreateSoundBuffer
    WAVEFORMATEX formatSet{};         // the last format given to SetFormat
};

template <class Interface> class Counted : public Interface {
public:
    Counted(FakeLog& fakeLog, int FakeLog::*live) : log(fakeLog), count(live) { ++(log.*count); }
    ULONG AddRef() override { return ++references; }
    ULONG Release() override {
        const ULONG left = --references;
        if (left == 0) {
            delete this;
        }
        return left;
    }
    FakeLog& log;

protected:
    ~Counted() { --(log.*count); }

private:
    int FakeLog::*count;
    ULONG references = 1;
};

class FakeBuffer : public Counted<IDirectSoundBuffer> {
public:
    FakeBuffer(FakeLog& fakeLog, DWORD bytes, HRESULT format)
        : Counted(fakeLog, &FakeLog::liveBuffers), memory(bytes), formatResult(format) {}
    HRESULT GetCurrentPosition(DWORD*, DWORD*) override { return DSERR_GENERIC; }
    HRESULT GetFormat(WAVEFORMATEX*, DWORD, DWORD*) override { return DSERR_GENERIC; }
    HRESULT GetVolume(LONG*) override { return DSERR_GENERIC; }
    HRESULT GetPan(LONG*) override { return DSERR_GENERIC; }
    HRESULT GetFrequency(DWORD*) override { return DSERR_GENERIC; }
    HRESULT GetStatus(DWORD* status) override { return *status = 0, DS_OK; }
    HRESULT Lock(DWORD, DWORD, void** audio1, DWORD* bytes1, void**, DWORD*, DWORD) override {
        *audio1 = memory.data();
        *bytes1 = static_cast<DWORD>(memory.size());
        return DS_OK;
    }
    HRESULT Play(DWORD, DWORD, DWORD) override { return DS_OK; }
    HRESULT SetCurrentPosition(DWORD) override { return DS_OK; }
    HRESULT SetFormat(const WAVEFORMATEX* format) override {
        log.formatSet = *format;
        return formatResult;
    }
    HRESULT SetVolume(LONG) override { return DSERR_GENERIC; }
    HRESULT SetPan(LONG) override { return DSERR_GENERIC; }
    HRESULT SetFrequency(DWORD) override { return DSERR_GENERIC; }
    HRESULT Stop() override { return DS_OK; }
    HRESULT Unlock(void*, DWORD, void*, DWORD) override { return DS_OK; }
    HRESULT Restore() override { return DS_OK; }

    std::vector<std::uint8_t> memory;
    HRESULT formatResult;
};

class FakeDevice : public Counted<IDirectSound> {
public:
    explicit FakeDevice(FakeLog& fakeLog) : Counted(fakeLog, &FakeLog::liveDevices) {}
    HRESULT CreateSoundBuffer(const DSBUFFERDESC* desc, IDirectSoundBuffer** buffer,
                              void*) override {
        log.buffersAtCreate.push_back(log.liveBuffers);
        *buffer =
            FAILED(createResult) ? nullptr : new FakeBuffer(log, desc->dwBufferBytes, formatResult);
        return createResult;
    }
    HRESULT SetCooperativeLevel(HWND, DWORD) override { return cooperativeResult; }

    HRESULT cooperativeResult = DS_OK;
    HRESULT createResult = DS_OK;
    HRESULT formatResult = DS_OK; // for SetFormat on the buffers made from now on
};

} // namespace soundtest
