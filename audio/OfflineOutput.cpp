#include "audio/OfflineOutput.h"

#include <algorithm>

namespace audio {

OfflineOutput::OfflineOutput(int outputRate, int outputChannels)
    : rate(outputRate), channels(outputChannels) {
}

bool OfflineOutput::Open(MixSource& mixSource) {
    Close();
    ++opens;
    if (!available) {
        return false;
    }
    source = &mixSource;
    source->SetFormat(rate, channels);
    open = true;
    return true;
}

void OfflineOutput::Close() {
    source = nullptr;
    open = false;
    removed = false;
}

bool OfflineOutput::Lost() {
    return removed;
}

void OfflineOutput::Render(std::int16_t* out, int frames) {
    if (!open || removed) {
        std::fill(out, out + static_cast<std::ptrdiff_t>(frames) * channels, std::int16_t{0});
        return;
    }
    source->Mix(out, frames);
}

std::vector<std::int16_t> OfflineOutput::Render(int frames) {
    std::vector<std::int16_t> samples(static_cast<std::size_t>(frames) * channels);
    Render(samples.data(), frames);
    return samples;
}

} // namespace audio
