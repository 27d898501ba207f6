#!/usr/bin/env python3
"""Writes the small seed corpus of the fuzz targets into fuzz/corpus/."""
import io
import pathlib
import struct
import zipfile

ROOT = pathlib.Path(__file__).resolve().parent / "corpus"


def wav(channels, rate, bits, block, samples, fmt_size=16, between=b"", after=b""):
    fmt = struct.pack("<HHIIHH", 1, channels, rate, rate * block, block, bits)
    fmt += bytes(fmt_size - 16)
    body = b"WAVE" + b"fmt " + struct.pack("<I", fmt_size) + fmt + between
    body += chunk(b"data", samples) + after
    return b"RIFF" + struct.pack("<I", len(body)) + body


def chunk(chunk_id, payload):
    """A chunk with the pad byte that follows an odd payload."""
    return chunk_id + struct.pack("<I", len(payload)) + payload + bytes(len(payload) % 2)


# An INFO list whose comment holds the four letters of the data chunk's id.
COMMENT = chunk(b"LIST", b"INFO" + chunk(b"ICMT", b"my data here\0"))


RAMP8 = bytes(range(0, 256, 3))
RAMP16 = b"".join(struct.pack("<h", v) for v in range(-32000, 32000, 1500))

SCHEMES = {
    "example": b"[Keys]\r\nDIGITS=digit.wav\r\nCHARS=key.wav\r\nA=a.wav\r\nenter=bell.wav\r\n"
               b"Space = space.wav\r\n",
    "groups": b"FUNCS=f.wav F1=g.wav\tNUMLOCK=n.wav\vWINL=w.wav\fA==x.wav\nq=Q.WAV",
    "bom": b"\xef\xbb\xbfA=a.wav\r\nB=sub\\b.wav\r\n\x1aC=c.wav",
    "utf16": "A=a.wav\r\n".encode("utf-16"),
    "long": b"A=" + b"v" * 253 + b" B=" + b"w" * 253 + b"x [x=y] =z",
    "release": b"A=a.wav A.UP=a-up.wav\r\nchars.up=c.wav\tSHIFT.Up=s.wav .UP=x A.UPX=y [A.UP] "
               b"A.UP= UP.UP=u.wav DIGITS.UP=d.wav FUNCS.UP=f.wav",
}

# The first two bytes of each wave seed choose the filter (byte % 8 - 1) and the volume.
WAVES = {
    "mono8": bytes([2, 50]) + wav(1, 11025, 8, 1, RAMP8 * 8),
    "mono16": bytes([1, 100]) + wav(1, 22050, 16, 2, RAMP16 * 4),
    "stereo16": bytes([2, 33]) + wav(2, 44100, 16, 4, RAMP16 * 2),
    "mono24": bytes([4, 0]) + wav(1, 44100, 24, 3, RAMP8[:81]),
    "stereo8": bytes([5, 101]) + wav(2, 11025, 8, 2, RAMP8),
    "fact": bytes([3, 70]) + wav(1, 8000, 8, 1, RAMP8, 18, chunk(b"fact", b"\x10\0\0\0")),
    "list": bytes([0, 20]) + wav(1, 22050, 16, 2, RAMP16, 16, chunk(b"LIST", b"INFOmetadata!\0")),
    "comment": bytes([3, 50]) + wav(1, 11025, 8, 1, RAMP8, between=COMMENT),
    "trailing": bytes([2, 50]) + wav(2, 11025, 8, 2, RAMP8[:85], after=COMMENT),
    "stray": bytes([1, 40]) + wav(1, 8000, 16, 2, RAMP16, after=b"data\x01\0"),
    "fmt18data": bytes([4, 60]) + wav(1, 11025, 8, 1, RAMP8[:7], 18),
}


def mix(tag, channels, rate, bits, stream, samples, block=None):
    """Format fields, then the stream choice (rate index + 4 * channels), then the samples."""
    block = channels * bits // 8 if block is None else block
    return struct.pack("<HHIHHB", tag, channels, rate, block, bits, stream) + samples


FLOATS = b"".join(struct.pack("<f", v) for v in (0.0, 0.5, -1.0, 2.0, float("nan"), -0.25))
MIXES = {
    "u8mono": mix(1, 1, 11025, 8, 0 + 4 * 2, RAMP8),
    "s16stereo": mix(1, 2, 44100, 16, 1 + 4 * 2, RAMP16),
    "s24mono": mix(1, 1, 96000, 24, 2 + 4 * 1, RAMP8[:81]),
    "s32quad": mix(1, 4, 48000, 32, 1 + 4 * 6, RAMP16[:64]),
    "float": mix(3, 1, 8000, 32, 3 + 4 * 2, FLOATS),
    "extensible": mix(0xFFFE, 2, 22050, 16, 1 + 4 * 1, RAMP16),
    "badblock": mix(1, 2, 44100, 16, 1 + 4 * 2, RAMP16, block=3),
}


SOUND_PACKS = {
    "v1single": b'{"id":"x","name":"One file","key_define_type":"single","includes_numpad":false,'
                b'"sound":"sound.ogg","defines":{"1":[0,120],"30":[200,90],"30-up":[300,80],'
                b'"54":[400,50],"42":[500,60],"57416":[600,40],"61000":[700,40],"41":[800,30],'
                b'"2":null}}',
    "v1multi": b'{"name":"Files","key_define_type":"multi","sound":"","defines":{"30":"a.wav",'
               b'"30-up":"sub/a up.wav","57":"[.wav","3613":"ctrl.mp3","29":null}}',
    "v2": b'{"version":2,"name":"Ranges","key_define_type":"multi","sound":"GENERIC_R{0-4}.mp3",'
          b'"soundup":"release/GENERIC.mp3","defines":{"28":"enter.mp3","14":null,"57-up":"x.mp3"}}',
    "dxsingle": b'{"config_version":"2","name":"DX","definition_method":"single",'
                b'"audio_file":"sound.ogg","definitions":{"KeyA":{"timing":[[0,100],[100,180]]},'
                b'"Space":{"timing":[[200.5,300]]},"MouseLeft":{"timing":[[0,5]]}}}',
    "dxmulti": b'{"config_version":"2","name":"DX files","definition_method":"multi",'
               b'"definitions":{"Enter":{"audio_file":"enter.ogg","timing":[[0,90],[90,150]]},'
               b'"ShiftRight":{"audio_file":"r.ogg"},"ShiftLeft":{"audio_file":"l.ogg"}}}',
    "hostile": b'{"key_define_type":"multi","defines":{"30":"../x.wav","31":"C:/a.wav"},'
               b'"sound":"{9-1}.wav","version":"2"}',
}


def zip_of(files):
    """A zip whose entries carry a fixed date, so that the seed is the same on every run."""
    out = io.BytesIO()
    with zipfile.ZipFile(out, "w") as archive:
        for name, data, method in files:
            archive.writestr(zipfile.ZipInfo(name, (2020, 1, 1, 0, 0, 0)), data, method)
    return out.getvalue()


PACKS = {
    "root": zip_of([("config.json", b'{"name":"a"}', zipfile.ZIP_DEFLATED),
                    ("a.wav", wav(1, 8000, 16, 2, RAMP16), zipfile.ZIP_STORED)]),
    "nested": zip_of([("Pack/", b"", zipfile.ZIP_STORED),
                      ("Pack/config.json", b'{"name":"b"}' * 9, zipfile.ZIP_DEFLATED),
                      ("Pack/caps lock.wav", RAMP8 * 30, zipfile.ZIP_DEFLATED)]),
    "unsafe": zip_of([("../x.wav", b"x", zipfile.ZIP_STORED)]),
}

TESTDATA = pathlib.Path(__file__).resolve().parent.parent / "audio" / "testdata"
# The first four bytes of each audio seed choose the slice: start and length, each + 100 ms.
SLICE = struct.pack("<HH", 100 + 50, 100 + 100)
def many_comments(ogg):
    """The Ogg with a comment count far beyond what its comment header holds."""
    at = ogg.index(b"\x03vorbis") + 7
    at += 4 + struct.unpack_from("<I", ogg, at)[0]
    return ogg[:at] + struct.pack("<I", 0x7FFFFFFF) + ogg[at + 4:]


AUDIO = {
    "ogg_comments": SLICE + many_comments((TESTDATA / "tone_mono22k.ogg").read_bytes()),
    "ogg_mono": SLICE + (TESTDATA / "tone_mono22k.ogg").read_bytes(),
    "ogg_stereo": SLICE + (TESTDATA / "tone_stereo44k.ogg").read_bytes(),
    "mp3": SLICE + (TESTDATA / "tone_stereo44k.mp3").read_bytes()[:600],
    "wav16": SLICE + wav(2, 8000, 16, 4, RAMP16 * 40),
    "wav8": struct.pack("<HH", 0, 1000) + wav(1, 8000, 8, 1, RAMP8 * 40),
}


def main():
    for folder, seeds in (("scheme_text", SCHEMES), ("wave", WAVES), ("mix_samples", MIXES),
                          ("sound_pack", SOUND_PACKS), ("pack_archive", PACKS),
                          ("pack_audio", AUDIO)):
        target = ROOT / folder
        target.mkdir(parents=True, exist_ok=True)
        for name, data in seeds.items():
            (target / name).write_bytes(data)


if __name__ == "__main__":
    main()
