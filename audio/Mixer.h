#pragma once
// The overlap engine's mixer: many sounds at once, each on a voice of its own. The main thread
// turns a finished WAV image into the stream's format and hands it over; the render thread sums
// the playing voices into the device's buffer. No <windows.h> here: the stream itself lives in
// the Win32 glue, which only calls the operations below.

#include <cstddef>
#include <cstdint>
#include <memory>

// The output stream: interleaved 32-bit float frames at this rate and channel count.
struct MixFormat {
    uint32_t sampleRate = 0;
    uint16_t channels = 0;
};

// The samples of a finished WAV image as its format chunk describes them. The data pointer
// covers only the sample bytes (from the data chunk's start to its end inside the file).
struct WaveSamples {
    uint16_t formatTag = 0;  // 1 PCM, 3 IEEE float, 0xFFFE extensible
    uint16_t channels = 0;
    uint32_t sampleRate = 0;
    uint16_t blockAlign = 0;
    uint16_t bitsPerSample = 0;
    const uint8_t* data = nullptr;
    size_t size = 0;
};

class Mixer {
public:
    // Room for every voice and hand-off slot is made here, never on the render thread.
    Mixer();
    // Once the render thread has stopped: frees every sound still held.
    ~Mixer();
    Mixer(const Mixer&) = delete;
    Mixer& operator=(const Mixer&) = delete;

    // Main thread. Converts the sound to `format` and queues it to start on a voice of its own.
    // False, with nothing queued, for a sound that cannot be converted or when the hand-off is
    // full. Also frees the sounds the render thread has finished with. Never waits.
    bool Play(const WaveSamples& sound, const MixFormat& format);

    // Render thread. Writes `frames` frames of `format` into out: the sum of the playing voices,
    // kept below full scale. Sounds converted for another format are dropped (the device
    // changed under them). No allocation, no lock.
    void Render(float* out, uint32_t frames, const MixFormat& format);

    // Render thread: true while a voice plays or a sound waits to start.
    bool Busy() const;

private:
    struct State;
    std::unique_ptr<State> state_;
};
