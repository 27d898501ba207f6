#include "audio/SoundEngine_win.h"

#include "audio/OutputStream_win.h"

#include <memory>

namespace {

// Made on first use and destroyed at process exit, which closes a stream still open.
std::unique_ptr<OutputStream>& Stream() {
    static std::unique_ptr<OutputStream> stream;
    return stream;
}

}  // namespace

void UseOverlapEngine(bool overlap) {
    std::unique_ptr<OutputStream>& stream = Stream();
    if (overlap == static_cast<bool>(stream)) return;
    if (overlap) {
        stream = std::make_unique<OutputStream>();
    } else {
        stream.reset();
    }
}

bool OverlapEngineInUse() { return static_cast<bool>(Stream()); }

bool PlayOnOverlapEngine(const WaveSamples& sound) {
    const std::unique_ptr<OutputStream>& stream = Stream();
    return stream && stream->Play(sound);
}
