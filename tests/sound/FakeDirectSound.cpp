#include "FakeDirectSound.h"

#include <algorithm>

namespace soundtest {

bool FakeLog::Called(const std::string& call) const {
    return std::find(calls.begin(), calls.end(), call) != calls.end();
}

FakeBuffer::FakeBuffer(FakeLog& fakeLog, DWORD bytes) : log(fakeLog), memory(bytes, 0x55) {
    ++log.liveBuffers;
}

FakeBuffer::~FakeBuffer() {
    --log.liveBuffers;
}

ULONG FakeBuffer::Release() {
    log.calls.push_back("Buffer::Release");
    const ULONG left = --references;
    if (left == 0) {
        delete this;
    }
    return left;
}

HRESULT FakeBuffer::GetStatus(DWORD* out) {
    log.calls.push_back("GetStatus");
    *out = status;
    return statusResult;
}

HRESULT FakeBuffer::Lock(DWORD offset, DWORD bytes, void** audio1, DWORD* bytes1, void** audio2,
                         DWORD* bytes2, DWORD flags) {
    log.calls.push_back("Lock " + std::to_string(offset) + " " + std::to_string(bytes) + " " +
                        std::to_string(flags) + (audio2 || bytes2 ? " second" : ""));
    if (FAILED(lockResult)) {
        return lockResult;
    }
    *audio1 = memory.data();
    *bytes1 = static_cast<DWORD>(memory.size());
    return DS_OK;
}

HRESULT FakeBuffer::Unlock(void* audio1, DWORD bytes1, void* audio2, DWORD bytes2) {
    log.calls.push_back(std::string("Unlock ") + (audio1 == memory.data() ? "block " : "other ") +
                        std::to_string(bytes1) + (audio2 || bytes2 ? " second" : ""));
    return DS_OK;
}

HRESULT FakeBuffer::Play(DWORD reserved1, DWORD priority, DWORD flags) {
    log.calls.push_back("Play " + std::to_string(reserved1) + " " + std::to_string(priority) + " " +
                        std::to_string(flags));
    return playResult;
}

HRESULT FakeBuffer::SetCurrentPosition(DWORD position) {
    log.calls.push_back("SetCurrentPosition " + std::to_string(position));
    return DS_OK;
}

HRESULT FakeBuffer::SetFormat(const WAVEFORMATEX* format) {
    log.calls.push_back("SetFormat");
    log.formatSet = *format;
    return setFormatResult;
}

HRESULT FakeBuffer::Stop() {
    log.calls.push_back("Stop");
    return stopResult;
}

HRESULT FakeBuffer::Restore() {
    log.calls.push_back("Restore");
    ++restoreCalls;
    HRESULT result = DS_OK;
    if (!restoreResults.empty()) {
        result = restoreResults.front();
        restoreResults.pop_front();
    }
    if (result == DS_OK) {
        status &= ~DSBSTATUS_BUFFERLOST;
    }
    return result;
}

FakeDevice::FakeDevice(FakeLog& fakeLog) : log(fakeLog) {
    ++log.liveDevices;
}

FakeDevice::~FakeDevice() {
    --log.liveDevices;
}

ULONG FakeDevice::Release() {
    log.calls.push_back("Device::Release");
    const ULONG left = --references;
    if (left == 0) {
        delete this;
    }
    return left;
}

HRESULT FakeDevice::SetCooperativeLevel(HWND newWindow, DWORD newLevel) {
    log.calls.push_back("SetCooperativeLevel");
    window = newWindow;
    level = newLevel;
    return cooperativeResult;
}

HRESULT FakeDevice::CreateSoundBuffer(const DSBUFFERDESC* desc, IDirectSoundBuffer** buffer,
                                      void* outer) {
    log.calls.push_back(outer ? "CreateSoundBuffer outer" : "CreateSoundBuffer");
    log.buffersAtCreate.push_back(log.liveBuffers);
    lastDesc = *desc;
    if (desc->lpwfxFormat) {
        lastFormat = *desc->lpwfxFormat;
    }
    if (FAILED(createResult)) {
        *buffer = nullptr;
        return createResult;
    }
    lastBuffer = new FakeBuffer(log, desc->dwBufferBytes);
    lastBuffer->setFormatResult = primaryFormatResult;
    lastBuffer->lockResult = bufferLockResult;
    lastBuffer->statusResult = bufferStatusResult;
    *buffer = lastBuffer;
    return DS_OK;
}

} // namespace soundtest
