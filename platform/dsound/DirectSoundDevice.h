#pragma once

#include "audio/AudioOutput.h"
#include "audio/Mixer.h"
#include "platform/dsound/RefCounted.h"
#include "platform/dsound/dsound.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace dsound {

class SoundBuffer;

// The device: one output, one mixer, and the buffers made from it. Buffers hold a reference,
// so the device outlives every buffer it made.
class DirectSoundDevice : public RefCounted<IDirectSound> {
public:
    explicit DirectSoundDevice(std::shared_ptr<audio::AudioOutput> output);
    DirectSoundDevice(const DirectSoundDevice&) = delete;
    DirectSoundDevice& operator=(const DirectSoundDevice&) = delete;

    HRESULT CreateSoundBuffer(const DSBUFFERDESC* desc, IDirectSoundBuffer** buffer,
                              void* outer) override;
    HRESULT SetCooperativeLevel(HWND window, DWORD level) override;

    // Opens the output for the first time; false (with the cause on standard error) when there
    // is no device.
    bool Start();
    // Notices an output that went away and makes every buffer lost; asks the output at most
    // once per kCheckIntervalMs, so sixteen buffers polled in one tick cost one question. True
    // while the output runs.
    bool CheckOutput();
    // Opens the output again after a loss, at most once per back-off interval; answers at once
    // in between. True when it runs.
    bool ReopenOutput();
    // What the output going away does: every buffer lost, the output closed.
    void LoseBuffers();
    // Closes the output while nothing can sound: no buffer left, or silence for
    // kRestAfterSeconds.
    void Rest();
    // Opens an output closed for silence again; a failure is a loss. True when it runs.
    bool Wake();

    // How often the output's state is read, and the back-off between reopen attempts while it
    // is lost: short first (a restarting server is back within a second), doubling to a cap
    // that keeps the first chirp after the return within a second of being due.
    static constexpr std::uint32_t kCheckIntervalMs = 5;
    static constexpr std::uint32_t kFirstRetryMs = 100;
    static constexpr std::uint32_t kMaxRetryMs = 800;
    // Silence longer than any gap within a song closes the output, so that the sound server
    // can suspend its sink (and a laptop its sound chip); the next Play opens it again.
    static constexpr int kRestAfterSeconds = 15;

    DWORD Level() const { return level; }
    audio::Mixer& GetMixer() { return mixer; }
    void Attach(SoundBuffer* buffer);
    void Detach(SoundBuffer* buffer);

private:
    ~DirectSoundDevice() override;

    std::shared_ptr<audio::AudioOutput> output;
    audio::Mixer mixer;
    // The output works; `resting` when it is closed for silence all the same.
    bool outputOpen = false;
    bool resting = false;
    // A loss has been reported and no return yet.
    bool outage = false;
    bool checked = false;
    std::uint32_t lastCheck = 0;
    std::uint32_t lastAttempt = 0;
    std::uint32_t retryInterval = 0;
    DWORD level = 0;
    std::vector<SoundBuffer*> buffers;
};

} // namespace dsound
