#include "audio/WavePlayer.h"
#include "audio/WavePlayer_win.h"

#include "audio/SoundEngine_win.h"

#include "app/Settings_win.h"
#include "app/Trace.h"

#include <windows.h>
#include <mmsystem.h>

#include <utility>
#include <vector>

namespace {

// One holder per process: the platform plays one sound at a time, so at most one image can
// still be in use by it.
class PlayingImageHolder {
public:
    PlayingImageHolder() = default;
    PlayingImageHolder(const PlayingImageHolder&) = delete;
    PlayingImageHolder& operator=(const PlayingImageHolder&) = delete;
    ~PlayingImageHolder() { Stop(); }

    void Play(std::vector<uint8_t> image, HMODULE module, bool async) {
        const DWORD flags = SND_MEMORY | (async ? SND_ASYNC : 0);
        // The order is what keeps every buffer alive while it can be read:
        // 1. the new image is handed over while the holder still owns the old one, which the
        //    platform may be reading until this call has stopped it;
        // 2. only a call that went through has stopped the old sound, so only then is the old
        //    image released; a refused call leaves the old sound and its image as they were;
        // 3. a synchronous call has finished reading the new image when it returns, so the new
        //    image is kept only for an asynchronous sound.
        const bool started = PlaySoundA(reinterpret_cast<LPCSTR>(image.data()), module, flags);
        if (!started) return;
        if (async) {
            image_.swap(image);  // the old image leaves with `image` at the end of this scope
        } else {
            Release();
        }
    }

    // The sound is stopped before its image is freed, never the other way round.
    void Stop() {
        if (image_.empty()) return;
        PlaySoundA(nullptr, nullptr, 0);
        Release();
    }

    PlayingWaveImage Current() const {
        if (image_.empty()) return {nullptr, 0};
        return {image_.data(), image_.size()};
    }

private:
    void Release() { std::vector<uint8_t>().swap(image_); }

    std::vector<uint8_t> image_;
};

// Made on first use, so it also outlives every play request made during static start-up.
PlayingImageHolder& Holder() {
    static PlayingImageHolder holder;
    return holder;
}

}  // namespace

PlayingWaveImage CurrentPlayingWaveImage() { return Holder().Current(); }

void StopWavePlayback() { Holder().Stop(); }

void WavePlayer::Wave::play(unsigned volume, int filter, bool async) {
    TracePair(IsTraceOn(), kTraceSourceWavePlayer, "WavePlayer::Wave::play", 39);
    if (!ApplyFilterAndVolume(volume, filter)) return;
    // The mixer copies the samples it keeps, so the image may go with this wave.
    if (OverlapEngineInUse()) {
        PlayOnOverlapEngine(Samples());
        return;
    }
    Holder().Play(TakePlayImage(), GetModuleHandleA(nullptr), async);
}
