"""Small WAV files for the sound tests, with sample data that no filter or conversion leaves alone
by accident (pseudo-random, but the same on every run)."""

import random
import wave


def sample_bytes(bits, channels, frames, seed=1):
    rnd = random.Random(seed)
    return bytes(rnd.randrange(256) for _ in range(frames * channels * bits // 8))


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
