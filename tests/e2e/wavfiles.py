"""Small WAV files for the sound tests, with sample data that no filter or conversion leaves alone
by accident (pseudo-random, but the same on every run)."""

import random
import struct


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


def chunk(chunk_id, payload):
    """One RIFF chunk, with the pad byte that follows a payload of odd size."""
    return chunk_id + struct.pack("<I", len(payload)) + payload + bytes(len(payload) % 2)


def write_wav(path, bits, channels, rate, data, before_data=b""):
    """Writes a PCM WAV file; before_data holds whole chunks to stand between the format chunk
    and the data chunk, as many editors write them."""
    block_align = channels * bits // 8
    format_fields = struct.pack("<HHIIHH", 1, channels, rate, rate * block_align, block_align,
                                bits)
    body = b"WAVE" + chunk(b"fmt ", format_fields) + before_data + chunk(b"data", data)
    with open(path, "wb") as f:
        f.write(b"RIFF" + struct.pack("<I", len(body)) + body)


def make_wav(path, bits, channels, rate, frames, seed=1):
    """Writes a PCM WAV file and returns its sample data."""
    data = sample_bytes(bits, channels, frames, seed)
    write_wav(path, bits, channels, rate, data)
    return data
