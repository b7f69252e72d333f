#include "platform/Services.h"

namespace platform {
namespace {

Services installed;

// Copies into `to` the members of `from` whose counterpart in `which` is set.
void CopyMembers(Services& to, const Services& from, const Services& which) {
    const auto copy = [](auto& member, auto value, auto given) {
        if (given != nullptr) {
            member = value;
        }
    };
    copy(to.clock, from.clock, which.clock);
    copy(to.cursor, from.cursor, which.cursor);
    copy(to.localTime, from.localTime, which.localTime);
    copy(to.files.openForReading, from.files.openForReading, which.files.openForReading);
    copy(to.files.openForWriting, from.files.openForWriting, which.files.openForWriting);
    copy(to.files.read, from.files.read, which.files.read);
    copy(to.files.write, from.files.write, which.files.write);
    copy(to.files.close, from.files.close, which.files.close);
    copy(to.files.createBeside, from.files.createBeside, which.files.createBeside);
    copy(to.files.flush, from.files.flush, which.files.flush);
    copy(to.files.rename, from.files.rename, which.files.rename);
    copy(to.files.remove, from.files.remove, which.files.remove);
    copy(to.createSoundDevice, from.createSoundDevice, which.createSoundDevice);
    copy(to.framework, from.framework, which.framework);
    copy(to.translate, from.translate, which.translate);
}

} // namespace

const Services& Installed() {
    return installed;
}

Override::Override(const Services& replacement) : replaced(replacement), saved(installed) {
    CopyMembers(installed, replacement, replacement);
}

// Only the replaced members are written back: one another thread reads races with nothing.
Override::~Override() {
    CopyMembers(installed, saved, replaced);
}

} // namespace platform
