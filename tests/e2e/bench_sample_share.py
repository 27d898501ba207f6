"""How much of each key's sound reaches the device at 12 keys a second with 150 ms sounds: the
PlaySoundA engine cuts each sound at the next key, the overlap engine should let every one ring
to its end. Run by bench_device_latency.py on its clocked sink, in the same run.

Each of six keys plays a sine of its own frequency (tones.py), so each key's sound is followed
in the recording by its frequency while the next keys already sound."""

import os
import shutil
import statistics
import time

import benchsession
import harness
import tones

KEYS = "asdfgh"
PACE = 1 / 12
HOLD = 0.03
SOUND_SECONDS = 0.15
WAV_RATE = 44100
PRESSES = 60
# Where each key's sound is looked for after its press: past any latency, short of the same
# key's next press (six keys later, 0.5 s).
LISTEN_SECONDS = 0.45


def install_tone_scheme(app):
    """The six keys' tones as the only scheme of this copy of Tapvox; returns {key: frequency}."""
    schemes = os.path.join(app.folder, "Schemes")
    shutil.rmtree(schemes, ignore_errors=True)
    folder = os.path.join(schemes, "Tones")
    os.makedirs(folder)
    frequencies = {}
    lines = []
    for index, key in enumerate(KEYS):
        frequencies[key] = tones.tone_frequency(index)
        tones.write_tone(os.path.join(folder, "%s.wav" % key), frequencies[key], WAV_RATE,
                         SOUND_SECONDS)
        lines.append("%s=%s.wav\r\n" % (key.upper(), key))
    with open(os.path.join(folder, "Scheme.txt"), "w") as f:
        f.write("".join(lines))
    return frequencies


def type_at_pace(typist, count):
    """Presses count keys, KEYS in turn, one every PACE seconds; returns (key, time) of each."""
    presses = []
    next_at = time.monotonic()
    for i in range(count):
        key = KEYS[i % len(KEYS)]
        time.sleep(max(0.0, next_at - time.monotonic()))
        typist.process.stdin.write("keydown %s\n" % key)
        typist.process.stdin.flush()
        presses.append((key, time.monotonic()))
        time.sleep(HOLD)
        typist.process.stdin.write("keyup %s\n" % key)
        typist.process.stdin.flush()
        next_at += PACE
    return presses


def shares(samples, start, rate, presses, frequencies):
    """For each press, the share of its sound's length that its frequency was heard at half the
    level its sounds reach at most, or more."""
    listened = []
    for key, pressed in presses:
        first = max(0, int((pressed - start) * rate))
        part = [v / 32768.0 for v in samples[first:first + int(LISTEN_SECONDS * rate)]]
        envelopes = tones.Envelopes(part, rate, [frequencies[key]])
        listened.append((envelopes, envelopes.levels[frequencies[key]]))
    full = max(max(levels, default=0.0) for _, levels in listened)
    result = []
    for envelopes, levels in listened:
        heard = envelopes.seconds(sum(1 for level in levels if level >= full / 2))
        result.append(min(1.0, heard / SOUND_SECONDS))
    return result


def measure(app, tvx, recording, typist, overlap, rate, wait_for_key_sound):
    """Starts Tapvox with the tone scheme and the engine chosen, waits until a key sounds
    (wait_for_key_sound(recording, typist)), types, and prints the shares."""
    frequencies = install_tone_scheme(app)
    for value, data in (("Scheme", "0"), ("Valume", "100"), ("Filter", "0"),
                        ("Overlap", "1" if overlap else "0")):
        tvx.reg_write(harness.PROGRAM_KEY, value, "sz", data)
    process, _ = benchsession.start_tapvox(app, tvx)
    try:
        wait_for_key_sound(recording, typist)
        time.sleep(LISTEN_SECONDS)
        presses = type_at_pace(typist, PRESSES)
        time.sleep(LISTEN_SECONDS)
        samples, start = recording.snapshot()
    finally:
        tvx.send_command(harness.COMMAND_EXIT)
        app.wait_exit(process, timeout=15)
        harness.stop_process(process)
    heard = sorted(shares(samples, start, rate, presses, frequencies))
    name = "overlap engine" if overlap else "PlaySoundA engine"
    print("Tapvox, %s: at 12 keys a second with 150 ms sounds, share of each sound that "
          "reached the device over %d presses: mean %.0f %%, min %.0f %%, median %.0f %%; "
          "%d of %d whole (95 %% or more)"
          % (name, len(heard), 100 * statistics.mean(heard), 100 * heard[0],
             100 * statistics.median(heard), sum(1 for s in heard if s >= 0.95), len(heard)))
