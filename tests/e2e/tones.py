"""Test tones for the overlap engine and finding them again in its mixed stream. Each sound is a
sine of a frequency of its own, so in a capture where many sound at once each one still shows by
its frequency alone: when it started, how long it lasted, whether anything cut it short.

The mixer converts and scales what it plays, so the capture is never compared byte for byte:
a tone counts as heard where its frequency's level is at least half the level it peaks at."""

import array
import math
import operator
import struct

from wavfiles import write_wav

LEVEL = 0.25  # each tone's peak, a quarter of full scale, so that a few at once cannot clip
FADE_SECONDS = 0.003  # in and out, so that a tone's edges hold no click of other frequencies
WINDOW_SECONDS = 0.010
HOP_SECONDS = 0.005
# The lowest tone and the spacing of the next ones: wider than the window's main lobe (two
# bins of 100 Hz for 10 ms), so that neighbours do not leak into each other.
LOWEST_HZ = 500
SPACING_HZ = 250


def tone_frequency(index):
    return LOWEST_HZ + SPACING_HZ * index


def write_tone(path, frequency, rate, seconds):
    """Writes a 16-bit mono PCM sine, its first and last samples never silence; returns its
    sample data."""
    frames = int(rate * seconds)
    fade = max(1, int(rate * FADE_SECONDS))
    data = bytearray()
    for n in range(frames):
        gain = min(1.0, (n + 1) / fade, (frames - n) / fade)
        value = int(round(32767 * LEVEL * gain * math.sin(2 * math.pi * frequency * (n + 0.5)
                                                            / rate)))
        data += struct.pack("<h", value or 1)
    write_wav(path, 16, 1, rate, bytes(data))
    return bytes(data)


class MixFormat:
    """How the stream's frames are laid out: sample type ("float" or a PCM bit count), channels
    and rate."""

    def __init__(self, sample, channels, rate):
        self.sample, self.channels, self.rate = sample, channels, rate

    @property
    def frame_bytes(self):
        return self.channels * (4 if self.sample == "float" else self.sample // 8)

    def first_channel(self, raw):
        """The first channel of the whole frames in raw, as floats of full scale 1."""
        raw = raw[:len(raw) - len(raw) % self.frame_bytes]
        if self.sample == "float":
            values = array.array("f")
            values.frombytes(raw)
            return list(values[::self.channels])
        if self.sample == 16:
            values = array.array("h")
            values.frombytes(raw)
            return [v / 32768.0 for v in values[::self.channels]]
        if self.sample == 32:
            values = array.array("i")
            values.frombytes(raw)
            return [v / 2147483648.0 for v in values[::self.channels]]
        raise ValueError("no reading for %r samples" % (self.sample,))

    def __repr__(self):
        return "%s-bit x %d at %d Hz" % (self.sample, self.channels, self.rate)


class Envelopes:
    """The level of each given frequency in hops along the samples: a Hann-windowed single-bin
    transform, scaled so that a sine of amplitude A reads A."""

    def __init__(self, samples, rate, frequencies):
        self.rate = rate
        self.hop = int(rate * HOP_SECONDS)
        window = int(rate * WINDOW_SECONDS)
        hann = [0.5 - 0.5 * math.cos(2 * math.pi * (n + 0.5) / window) for n in range(window)]
        scale = 2.0 / sum(hann)
        self.levels = {}
        for frequency in frequencies:
            step = 2 * math.pi * frequency / rate
            cosines = [h * math.cos(step * n) for n, h in enumerate(hann)]
            sines = [h * math.sin(step * n) for n, h in enumerate(hann)]
            levels = []
            for start in range(0, len(samples) - window + 1, self.hop):
                part = samples[start:start + window]
                real = sum(map(operator.mul, part, cosines))
                imaginary = sum(map(operator.mul, part, sines))
                levels.append(scale * math.hypot(real, imaginary))
            self.levels[frequency] = levels

    def seconds(self, hops):
        return hops * self.hop / self.rate

    def runs(self, frequency, floor):
        """(first hop, hops) of every stretch where the frequency's level is at least half its
        peak, and the peak; nothing when the peak stays below floor."""
        levels = self.levels[frequency]
        peak = max(levels, default=0.0)
        if peak < floor:
            return [], peak
        found = []
        start = None
        for i, level in enumerate(levels + [0.0]):
            if level >= peak / 2 and start is None:
                start = i
            elif level < peak / 2 and start is not None:
                found.append((start, i - start))
                start = None
        return found, peak


class Heard:
    """What the capture says of one tone: where it sounded (seconds from the capture's start)
    and how loud at most."""

    def __init__(self, frequency, runs, peak, envelopes):
        self.frequency = frequency
        self.peak = peak
        self.spans = [(envelopes.seconds(start), envelopes.seconds(start + hops))
                      for start, hops in runs]

    @property
    def longest(self):
        return max((end - start for start, end in self.spans), default=0.0)

    def __repr__(self):
        return "%d Hz: peak %.3f, %s" % (self.frequency, self.peak,
                                         ", ".join("%.3f-%.3f s" % s for s in self.spans))


def hear(raw, mix_format, frequencies):
    """{frequency: Heard} for each frequency in the captured stream raw."""
    samples = mix_format.first_channel(raw)
    envelopes = Envelopes(samples, mix_format.rate, frequencies)
    # Well below any tone's level through any headroom the mixer keeps for 32 voices.
    floor = LEVEL / 100
    heard = {}
    for frequency in frequencies:
        runs, peak = envelopes.runs(frequency, floor)
        heard[frequency] = Heard(frequency, runs, peak, envelopes)
    return heard


def whole(heard, seconds):
    """Whether a tone sounded once, for its full length (to within the window's smear)."""
    return len(heard.spans) == 1 and abs(heard.longest - seconds) <= 2 * WINDOW_SECONDS


def overlap(first, second):
    """Seconds during which both tones sounded."""
    return sum(max(0.0, min(a_end, b_end) - max(a_start, b_start))
               for a_start, a_end in first.spans for b_start, b_end in second.spans)
