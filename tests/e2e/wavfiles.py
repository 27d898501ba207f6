"""Small WAV files for the sound tests, with sample data that no filter or conversion leaves alone
by accident (pseudo-random, but the same on every run)."""

import random
import wave


# Bytes that Wine's padding silence is made of (0 for 16-bit, 0x80 for 8-bit samples).
SILENCE_BYTES = (0x00, 0x80)


def sample_bytes(bits, channels, frames, seed=1):
    """Pseudo-random sample data whose first and last bytes are never silence, so that padding
    around a sound can be told from the sound itself."""
    rnd = random.Random(seed)
    data = bytearray(rnd.randrange(256) for _ in range(frames * channels * bits // 8))
    for index in (0, -1):
        if data and data[index] in SILENCE_BYTES:
            data[index] = 0x55
    return bytes(data)


def write_wav(path, bits, channels, rate, data):
    with wave.open(path, "wb") as w:
        w.setnchannels(channels)
        w.setsampwidth(bits // 8)
        w.setframerate(rate)
        w.writeframes(data)


def make_wav(path, bits, channels, rate, frames, seed=1):
    """Writes a PCM WAV file and returns its sample data."""
    data = sample_bytes(bits, channels, frames, seed)
    write_wav(path, bits, channels, rate, data)
    return data
