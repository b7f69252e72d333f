#include "audio/SdlOutput.h"
#include "platform/Services.h"
#include "platform/dsound/DirectSoundControl.h"
#include "platform/dsound/DirectSoundDevice.h"
#include "platform/dsound/dsound.h"

#include <new>

namespace dsound {

HRESULT CreateDevice(std::shared_ptr<audio::AudioOutput> output, IDirectSound** directSound) {
    if (directSound == nullptr || !output) {
        return DSERR_INVALIDPARAM;
    }
    *directSound = nullptr;
    auto* device = MakeObject<DirectSoundDevice>(std::move(output));
    if (device == nullptr) {
        return DSERR_OUTOFMEMORY;
    }
    if (!device->Start()) {
        device->Release();
        return DSERR_NODRIVER;
    }
    *directSound = device;
    return DS_OK;
}

} // namespace dsound

HRESULT DirectSoundCreate(const void* device, IDirectSound** directSound, void* outer) {
    if (const auto create = platform::Installed().createSoundDevice) {
        return create(device, directSound, outer);
    }
    if (directSound == nullptr) {
        return DSERR_INVALIDPARAM;
    }
    *directSound = nullptr;
    if (outer != nullptr) {
        return DSERR_NOAGGREGATION;
    }
    // Only the default device is offered.
    if (device != nullptr) {
        return DSERR_NODRIVER;
    }
    std::shared_ptr<audio::SdlOutput> output;
    try {
        output = std::make_shared<audio::SdlOutput>();
    } catch (const std::bad_alloc&) {
        return DSERR_OUTOFMEMORY;
    }
    return dsound::CreateDevice(std::move(output), directSound);
}
