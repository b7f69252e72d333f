#pragma once

#include "platform/dsound/AudioOutput.h"
#include "platform/dsound/Mixer.h"
#include "platform/dsound/dsound.h"

#include <atomic>
#include <memory>
#include <vector>

namespace dsound {

class SoundBuffer;

// The device: one output, one mixer, and the buffers made from it. Buffers hold a reference,
// so the device outlives every buffer it made.
class DirectSoundDevice : public IDirectSound {
public:
    explicit DirectSoundDevice(std::shared_ptr<AudioOutput> output);
    DirectSoundDevice(const DirectSoundDevice&) = delete;
    DirectSoundDevice& operator=(const DirectSoundDevice&) = delete;

    ULONG AddRef() override;
    ULONG Release() override;
    HRESULT CreateSoundBuffer(const DSBUFFERDESC* desc, IDirectSoundBuffer** buffer,
                              void* outer) override;
    HRESULT SetCooperativeLevel(HWND window, DWORD level) override;

    // Opens the output for the first time; false when there is no device.
    bool Start();
    // Notices an output that went away and makes every buffer lost. True while the output runs.
    bool CheckOutput();
    // Opens the output again after a loss; true when it runs.
    bool ReopenOutput();
    // What the output going away does: every buffer lost, the output closed.
    void LoseBuffers();

    DWORD Level() const { return level; }
    Mixer& GetMixer() { return mixer; }
    void Attach(SoundBuffer* buffer);
    void Detach(SoundBuffer* buffer);

private:
    ~DirectSoundDevice() override;

    std::atomic<ULONG> references{1};
    std::shared_ptr<AudioOutput> output;
    Mixer mixer;
    bool outputOpen = false;
    DWORD level = 0;
    std::vector<SoundBuffer*> buffers;
};

} // namespace dsound
