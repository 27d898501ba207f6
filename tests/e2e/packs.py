"""Sound packs made at test time, in each form Tapvox imports: Mechvibes version 1 (one file
sliced, or a file per key), version 2 (a range of files, a release sound for every key) and
MechvibesDX, with WAV, Ogg Vorbis (oggenc) and MP3 (lame) audio between them."""

import json
import os
import random
import struct
import subprocess
import zipfile

RATE = 44100


def noise(seconds, seed):
    """16-bit mono samples, loud enough to be told from silence, the same on every run."""
    rnd = random.Random(seed)
    return [rnd.randrange(-12000, 12000) for _ in range(int(RATE * seconds))]


def write_wav(path, samples):
    data = struct.pack("<%dh" % len(samples), *samples)
    fields = struct.pack("<HHIIHH", 1, 1, RATE, RATE * 2, 2, 16)
    body = (b"WAVE" + b"fmt " + struct.pack("<I", len(fields)) + fields +
            b"data" + struct.pack("<I", len(data)) + data)
    with open(path, "wb") as f:
        f.write(b"RIFF" + struct.pack("<I", len(body)) + body)


def encode(wav_path, out_path, quality=3):
    """Ogg Vorbis (at an oggenc quality) or MP3 by the out file's ending, from a WAV file."""
    if out_path.endswith(".ogg"):
        command = ["oggenc", "-Q", "-q", str(quality), "-o", out_path, wav_path]
    else:
        command = ["lame", "--quiet", "-b", "128", wav_path, out_path]
    subprocess.run(command, check=True)


def write_audio(folder, name, samples, quality=3):
    path = os.path.join(folder, name)
    os.makedirs(os.path.dirname(path), exist_ok=True)
    if name.endswith(".wav"):
        write_wav(path, samples)
    else:
        write_wav(path + ".src.wav", samples)
        encode(path + ".src.wav", path, quality)
        os.remove(path + ".src.wav")


def write_pack(folder, config, audio, zipped=False, top="", quality=3):
    """The pack's files in folder, or in folder/pack.zip (under a top folder of the .zip);
    returns the file to import (config.json or the .zip)."""
    os.makedirs(folder, exist_ok=True)
    for name, samples in audio.items():
        write_audio(folder, name, samples, quality)
    config_path = os.path.join(folder, "config.json")
    with open(config_path, "w", encoding="utf-8") as f:
        json.dump(config, f)
    if not zipped:
        return config_path
    zip_path = os.path.join(folder, "pack.zip")
    with zipfile.ZipFile(zip_path, "w", zipfile.ZIP_DEFLATED) as pack:
        for name in list(audio) + ["config.json"]:
            pack.write(os.path.join(folder, name), top + name)
    return zip_path


SOURCE = noise(1.0, seed=11)


def v1_single_ogg(folder):
    config = {"id": "x", "name": "Single Ogg", "key_define_type": "single",
              "includes_numpad": False, "sound": "keys.ogg",
              "defines": {"30": [100, 80], "30-up": [300, 60], "57": [500, 90]}}
    return write_pack(folder, config, {"keys.ogg": SOURCE})


def v1_multi_zip(folder):
    config = {"name": "Multi Zip", "key_define_type": "multi", "sound": "",
              "defines": {"30": "caps lock.wav", "30-up": "[.wav", "28": "sub/enter.mp3",
                          "14": None}}
    audio = {"caps lock.wav": noise(0.08, 21), "[.wav": noise(0.05, 22),
             "sub/enter.mp3": noise(0.2, 23)}
    return write_pack(folder, config, audio, zipped=True, top="Multi Zip/")


def v2_ranges(folder):
    config = {"version": 2, "name": "Ranges", "key_define_type": "multi",
              "sound": "press{0-1}.wav", "soundup": "up.mp3", "defines": {"28": "enter.wav"}}
    audio = {"press0.wav": noise(0.07, 31), "press1.wav": noise(0.07, 32),
             "up.mp3": noise(0.1, 33), "enter.wav": noise(0.1, 34)}
    return write_pack(folder, config, audio)


def dx_single_wav(folder):
    config = {"config_version": "2", "name": "DX", "definition_method": "single",
              "audio_file": "dx.wav",
              "definitions": {"KeyA": {"timing": [[100, 180], [300, 360]]}}}
    return write_pack(folder, config, {"dx.wav": SOURCE})


def hostile(folder):
    """A name that leads outside the pack."""
    config = {"name": "Hostile", "key_define_type": "multi", "defines": {"30": "../evil.wav"}}
    path = write_pack(folder, config, {})
    write_wav(os.path.join(os.path.dirname(folder.rstrip("/")), "evil.wav"), noise(0.05, 41))
    return path


def big_single_ogg(folder, slices=100, seconds=190):
    """A pack as the common ones come: one Ogg of a few megabytes cut into 100 slices."""
    codes = list(range(2, 14)) + list(range(16, 28)) + list(range(30, 41)) + \
        list(range(44, 54)) + [1, 14, 15, 28, 29, 42, 54, 56, 57, 58, 59, 60, 61, 62, 63, 64,
                                65, 66, 67, 68, 87, 88, 3613, 3640, 3666, 3667, 3655, 3663,
                                3657, 3665, 3675, 57416, 57419, 57421, 57424]
    codes = codes[:slices // 2]
    defines = {}
    step = seconds * 1000 // slices
    for i, code in enumerate(codes):
        defines[str(code)] = [2 * i * step, 120]
        defines["%d-up" % code] = [(2 * i + 1) * step, 90]
    config = {"name": "Big Ogg", "key_define_type": "single", "sound": "big.ogg",
              "defines": defines}
    # Noise at quality 6 comes to about the size of the common packs' files.
    return write_pack(folder, config, {"big.ogg": noise(seconds, 51)}, quality=6)
