#include "audio/Mp3Decode_win.h"

#include "app/WinHandles.h"
#include "audio/Mp3Frame.h"

// The lean Windows header leaves out the multimedia types the codec calls need.
#include <mmsystem.h>
#include <mmreg.h>
#include <msacm.h>

#include <algorithm>
#include <vector>

namespace {

// Input is handed to the codec a piece at a time, so that the output buffer stays small.
constexpr DWORD kInputPiece = 64 * 1024;
// The decoder delay that encoders assume for layer III.
constexpr WORD kCodecDelay = 1393;

struct AcmStreamTraits {
    using Handle = HACMSTREAM;
    static Handle Invalid() { return nullptr; }
    static void Close(Handle stream) { acmStreamClose(stream, 0); }
};
using ScopedAcmStream = ScopedHandle<AcmStreamTraits>;

MPEGLAYER3WAVEFORMAT Mp3Format(const Mp3FrameHeader& frame) {
    MPEGLAYER3WAVEFORMAT format{};
    format.wfx.wFormatTag = WAVE_FORMAT_MPEGLAYER3;
    format.wfx.nChannels = frame.channels;
    format.wfx.nSamplesPerSec = frame.sampleRate;
    format.wfx.nAvgBytesPerSec = frame.bitrate / 8;
    format.wfx.nBlockAlign = 1;
    format.wfx.cbSize = MPEGLAYER3_WFX_EXTRA_BYTES;
    format.wID = MPEGLAYER3_ID_MPEG;
    format.fdwFlags = MPEGLAYER3_FLAG_PADDING_OFF;
    format.nBlockSize = WORD(frame.frameBytes);
    format.nFramesPerBlock = 1;
    format.nCodecDelay = kCodecDelay;
    return format;
}

WAVEFORMATEX Pcm16Format(const Mp3FrameHeader& frame) {
    WAVEFORMATEX format{};
    format.wFormatTag = WAVE_FORMAT_PCM;
    format.nChannels = frame.channels;
    format.nSamplesPerSec = frame.sampleRate;
    format.wBitsPerSample = 16;
    format.nBlockAlign = WORD(frame.channels * 2);
    format.nAvgBytesPerSec = frame.sampleRate * format.nBlockAlign;
    return format;
}

// One piece through the codec; the output is appended as float samples. False when the codec
// refuses it.
bool ConvertPiece(HACMSTREAM stream, const uint8_t* in, DWORD inSize, DWORD flags,
                  std::vector<uint8_t>& out, DWORD& used, std::vector<float>& samples) {
    ACMSTREAMHEADER header{};
    header.cbStruct = sizeof header;
    header.pbSrc = const_cast<LPBYTE>(in);
    header.cbSrcLength = inSize;
    header.pbDst = out.data();
    header.cbDstLength = DWORD(out.size());
    if (acmStreamPrepareHeader(stream, &header, 0) != MMSYSERR_NOERROR) return false;
    const bool converted = acmStreamConvert(stream, &header, flags) == MMSYSERR_NOERROR;
    used = header.cbSrcLengthUsed;
    const DWORD produced = std::min(header.cbDstLengthUsed, DWORD(out.size())) & ~DWORD(1);
    for (DWORD at = 0; converted && at < produced; at += 2) {
        samples.push_back(float(int16_t(out[at] | out[at + 1] << 8)) / 32768.0f);
    }
    acmStreamUnprepareHeader(stream, &header, 0);
    return converted;
}

}  // namespace

bool DecodeMp3WithAcm(const uint8_t* data, size_t size, size_t maxFrames, DecodedAudio& sound) {
    size_t offset = 0;
    Mp3FrameHeader frame;
    if (size > MAXDWORD || !FindFirstMp3Frame(data, size, offset, frame)) return false;
    MPEGLAYER3WAVEFORMAT mp3 = Mp3Format(frame);
    WAVEFORMATEX pcm = Pcm16Format(frame);
    ScopedAcmStream stream;
    if (acmStreamOpen(stream.Receive(), nullptr, &mp3.wfx, &pcm, nullptr, 0, 0, 0) !=
        MMSYSERR_NOERROR) {
        return false;
    }
    DWORD outSize = 0;
    if (acmStreamSize(stream.Get(), kInputPiece, &outSize, ACM_STREAMSIZEF_SOURCE) !=
            MMSYSERR_NOERROR ||
        outSize == 0) {
        return false;
    }
    std::vector<uint8_t> out(outSize);
    sound = DecodedAudio{};
    sound.sampleRate = frame.sampleRate;
    sound.channels = frame.channels;
    const size_t maxSamples = maxFrames * frame.channels;
    DWORD flags = ACM_STREAMCONVERTF_START | ACM_STREAMCONVERTF_BLOCKALIGN;
    while (sound.samples.size() < maxSamples) {
        const DWORD piece = DWORD(std::min<size_t>(kInputPiece, size - offset));
        const bool last = piece == size - offset;
        if (last) flags = (flags & ACM_STREAMCONVERTF_START) | ACM_STREAMCONVERTF_END;
        DWORD used = 0;
        const size_t before = sound.samples.size();
        if (!ConvertPiece(stream.Get(), data + offset, piece, flags, out, used, sound.samples)) {
            break;
        }
        flags &= ~DWORD(ACM_STREAMCONVERTF_START);
        offset += std::min<DWORD>(used, piece);
        // A codec that takes nothing and gives nothing has finished, or never will.
        if ((last && used >= piece) || (used == 0 && sound.samples.size() == before)) break;
    }
    sound.samples.resize(std::min(sound.samples.size(), maxSamples) / frame.channels *
                         frame.channels);
    return !sound.samples.empty();
}
