#pragma once

#include "platform/Clocks.h"
#include "platform/Cursor.h"
#include "platform/File.h"
#include "platform/Framework.h"
#include "platform/LocalTime.h"
#include "platform/dsound/dsound.h"

// What the platform's free functions reach the outside through. A member left null means the
// built-in one: the monotonic clock, no cursor, the system's local time and file calls, the sound
// card, no framework, texts as written. The windowing layer installs its own at start, tests
// install fakes, both with an Override.
namespace platform {

// DirectSoundCreate's shape.
using SoundDeviceFunction = HRESULT (*)(const void* device, IDirectSound** directSound,
                                        void* outer);

struct Services {
    ClockSource* clock = nullptr;
    CursorFunction cursor = nullptr;
    LocalTimeFunction localTime = nullptr;
    FileCalls files = {}; // each null call is the system's
    SoundDeviceFunction createSoundDevice = nullptr;
    Framework* framework = nullptr;
    TextTranslator translate = nullptr;
};

const Services& Installed();

// Installs the given members (the non-null ones) for its lifetime, then puts back what they
// replaced, so that no fake outlives its test:
//     platform::Override fakes{{.cursor = FakeCursor, .framework = &framework}};
// Made before any thread that reads the replaced members starts, ended after it stops.
class Override {
public:
    explicit Override(const Services& replacement);
    ~Override();
    Override(const Override&) = delete;
    Override& operator=(const Override&) = delete;

private:
    Services replaced;
    Services saved;
};

} // namespace platform
