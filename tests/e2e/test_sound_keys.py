"""Key events sent to Tapvox's window as "NEW_HOOK_SYSTEM" become sounds: the captured device
stream must equal, byte for byte and in order, the sample data of each key's WAV file after the
filter (capital letters only) and the volume step, both computed here from their rules. Key
releases sound their scheme's release words, unfiltered."""

import os
import shutil
import struct

import harness
from wavfiles import SILENCE_BYTES, chunk, sample_bytes, write_wav

HOOK_MESSAGE = "NEW_HOOK_SYSTEM"
COMMAND_MUTE = 40012
SCHEME = "TestClicks"


def key_event(key_code, character):
    """A hook event of kind 0: the key code in bits 8 to 15, the typed character in bits 0 to 7."""
    char_code = character if isinstance(character, int) else ord(character)
    return (key_code << 8) | char_code


def release_event(key_code):
    """A hook event of kind 4: a key's release, the key code in bits 8 to 15."""
    return (4 << 16) | (key_code << 8)


def half_toward_zero(value):
    return -((-value) // 2) if value < 0 else value // 2


def read16(data, at):
    return struct.unpack_from("<h", data, at)[0]


def write16(data, at, value):
    struct.pack_into("<H", data, at, value & 0xFFFF)


def echo(data, bits, rate, block_align):
    """50 ms feedback echo at half strength, mixed in place over the sample data."""
    data = bytearray(data)
    length = len(data)
    delay = ((rate // 1000) * block_align * 50) & 0xFFFFFFFF
    if delay > length:
        delay = length >> 1
    if bits == 8:
        for i in range(delay, length - 2, 2):
            for k in (i, i + 1):
                data[k] = (data[k - delay] >> 1) + (data[k] >> 1)
    elif bits == 16:
        for i in range(delay, length - 4, 4):
            for k in (i, i + 2):
                write16(data, k, half_toward_zero(read16(data, k)) +
                        half_toward_zero(read16(data, k - delay)))
    return bytes(data)


def inversion(data, block_align):
    """The frames of the sample data in reverse order; an odd middle frame and any tail stay."""
    data = bytearray(data)
    length = len(data) - len(data) % block_align
    length -= length % 2
    for k in range(length // (2 * block_align)):
        front = k * block_align
        back = length - (k + 1) * block_align
        data[front:front + block_align], data[back:back + block_align] = \
            data[back:back + block_align], data[front:front + block_align]
    return bytes(data)


def rounded(product):
    """Truncated toward zero, plus one when the part cut off is at least one half."""
    truncated = int(product)
    return truncated, 1 if product - truncated >= 0.5 else 0


def scaled(data, bits, volume):
    if volume > 100:
        return data
    factor = volume / 100.0
    data = bytearray(data)
    if bits == 8:
        for i, byte in enumerate(data):
            truncated, up = rounded((byte - 128) * factor)
            data[i] = truncated + 128 + up
    elif bits == 16:
        for i in range(0, len(data) - 1, 2):
            product = read16(data, i) * factor
            write16(data, i, int(product + rounded(product)[1]))
    return bytes(data)


class Sound:
    """One WAV file of the test scheme and the stream Tapvox should play from it."""

    def __init__(self, file_name, bits, channels, rate, frames, seed, before_data=b""):
        self.file_name = file_name
        self.bits, self.channels, self.rate = bits, channels, rate
        self.block_align = channels * bits // 8
        self.data = sample_bytes(bits, channels, frames, seed)
        self.before_data = before_data

    def expected(self, volume, sound_filter=0):
        data = self.data
        if sound_filter == 1:
            data = echo(data, self.bits, self.rate, self.block_align)
        elif sound_filter == 2:
            data = inversion(data, self.block_align)
        return scaled(data, self.bits, volume)


# 8- and 16-bit, mono and stereo; a tenth of a second or so each, so the tests stay quick.
CLICK8 = Sound("click8.wav", 8, 1, 11025, 1500, seed=21)
CLICK16 = Sound("click16.wav", 16, 2, 22050, 2400, seed=22)
DIGIT = Sound(os.path.join("sub", "digit.wav"), 16, 1, 44100, 3000, seed=23)
# An editor's comment before the samples whose text holds the data chunk's id; an odd number
# of samples, so a pad byte follows them.
COMMENTED = Sound("commented.wav", 8, 1, 11025, 1501, seed=24,
                  before_data=chunk(b"LIST", b"INFO" + chunk(b"ICMT", b"my data here\0")))


class SoundKeysTest(harness.TapvoxTestCase):

    def install_scheme(self, app, scheme_text, sounds):
        """The test scheme as the only scheme of this copy of the program, so it is number 0."""
        schemes = os.path.join(app.folder, "Schemes")
        shutil.rmtree(schemes, ignore_errors=True)
        folder = os.path.join(schemes, SCHEME)
        os.makedirs(os.path.join(folder, "sub"))
        with open(os.path.join(folder, "Scheme.txt"), "w") as f:
            f.write(scheme_text)
        for sound in sounds:
            write_wav(os.path.join(folder, sound.file_name), sound.bits, sound.channels,
                      sound.rate, sound.data, sound.before_data)

    def start_with(self, scheme_text, sounds, volume, sound_filter, scheme="0"):
        app = self.new_app()
        self.install_scheme(app, scheme_text, sounds)
        self.tvx.reg_write(harness.PROGRAM_KEY, "Valume", "sz", str(volume))
        self.tvx.reg_write(harness.PROGRAM_KEY, "Filter", "sz", str(sound_filter))
        if scheme is not None:
            self.tvx.reg_write(harness.PROGRAM_KEY, "Scheme", "sz", scheme)
        self.start_app(app)
        return app

    def press(self, event):
        """Sends one key event; SendMessage returns once Tapvox has handled it."""
        self.assertEqual(self.tvx.send(HOOK_MESSAGE, event), 0)

    def assert_plays(self, events_and_streams):
        """Sends each event once the previous sound has ended, so none cuts another short. Wine
        may pad a sound with silence, so the capture is compared past it. The capture is checked
        from its start: a sound before these would show."""
        streams = []
        for event, stream in events_and_streams:
            with self.subTest(event=hex(event)):
                self.assertTrue(stream[0] not in SILENCE_BYTES and stream[-1] not in SILENCE_BYTES,
                                "a sound that starts or ends like padding cannot be told from it")
                self.press(event)
                streams.append(stream)
                captured = self.session.wait_for_sound(sum(len(s) for s in streams))
                expected = b"".join(streams)
                self.assertTrue(harness.sounds_in_order(captured, streams),
                                "captured %d bytes for %d expected; first difference at byte %d"
                                % (len(captured), len(expected),
                                   first_difference(harness.strip_padding(captured), expected)))

    def press_unheard(self, *events):
        """Sends events that must sound nothing. The caller's next assert_plays is the marker:
        its sound must be the first in the capture."""
        self.assertEqual(harness.strip_padding(self.session.captured_sound()), b"",
                         "a sound before the silent events")
        for event in events:
            self.press(event)

    def test_echo_on_capitals_only_with_volume_on_every_key(self):
        app = self.start_with("A=click8.wav\r\nB=click16.wav\r\nDIGITS=sub\\digit.wav\r\n",
                              [CLICK8, CLICK16, DIGIT], volume=60, sound_filter=1)
        self.assert_plays([
            (key_event(0x41, "a"), CLICK8.expected(60)),
            (key_event(0x41, "A"), CLICK8.expected(60, 1)),
            (key_event(0x42, "B"), CLICK16.expected(60, 1)),
            (key_event(0x42, "b"), CLICK16.expected(60)),
            (key_event(0x31, "!"), DIGIT.expected(60)),  # not a letter key: never filtered
        ])
        self.assertEqual(self.exit_app(app), 0)

    def test_inversion_at_full_level_and_for_letters_of_other_alphabets(self):
        self.start_with("CHARS=click16.wav\r\nA=click8.wav\r\n", [CLICK8, CLICK16],
                        volume=101, sound_filter=2)
        self.assert_plays([
            (key_event(0x41, "A"), CLICK8.expected(101, 2)),
            (key_event(0x5A, "z"), CLICK16.expected(101)),
            # A non-ASCII letter is its own capital under the C locale, so it is filtered.
            (key_event(0x5A, 0xE4), CLICK16.expected(101, 2)),
        ])

    def test_chunk_before_the_samples_is_played_around_and_the_next_key_still_sounds(self):
        self.start_with("A=commented.wav\r\nB=click16.wav\r\n", [COMMENTED, CLICK16],
                        volume=50, sound_filter=2)
        self.assert_plays([
            (key_event(0x41, "a"), COMMENTED.expected(50)),
            (key_event(0x41, "A"), COMMENTED.expected(50, 2)),
            (key_event(0x42, "b"), CLICK16.expected(50)),
        ])

    def test_releases_sound_their_release_words_after_the_press(self):
        app = self.start_with("A=click8.wav\r\nB=click8.wav\r\nCHARS.UP=sub\\digit.wav\r\n"
                              "A.UP=click16.wav\r\nB.UP=\r\n", [CLICK8, CLICK16, DIGIT],
                              volume=60, sound_filter=1)
        # Keys without a release word, and releases of no key, sound nothing.
        self.press_unheard(release_event(0x31), release_event(0x0D), release_event(0))
        self.assert_plays([
            (key_event(0x41, "A"), CLICK8.expected(60, 1)),
            (release_event(0x41), CLICK16.expected(60)),  # its own word; never filtered
            (key_event(0x42, "b"), CLICK8.expected(60)),
            (release_event(0x42), DIGIT.expected(60)),   # "B.UP=" is no word: the group's
        ])
        self.assertEqual(self.exit_app(app), 0)

    def test_mute_silences_every_key_until_it_is_switched_off(self):
        self.start_with("A=click8.wav\r\n", [CLICK8], volume=100, sound_filter=0)
        self.assertEqual(self.tvx.send_command(COMMAND_MUTE), harness.Tvxctl.OK)
        self.press_unheard(key_event(0x41, "a"), key_event(0x41, "A"))
        self.assertEqual(self.tvx.send_command(COMMAND_MUTE), harness.Tvxctl.OK)
        self.assert_plays([(key_event(0x41, "a"), CLICK8.expected(100))])

    def test_missing_sound_file_and_keys_without_sound_are_silent(self):
        self.start_with("A=click8.wav\r\nC=missing.wav\r\n", [CLICK8], volume=35,
                        sound_filter=0)
        self.press_unheard(key_event(0x43, "c"), key_event(0x44, "d"))
        self.assert_plays([(key_event(0x41, "a"), CLICK8.expected(35))])

    def test_without_stored_scheme_fewer_than_twenty_schemes_give_silence(self):
        app = self.start_with("A=click8.wav\r\n", [CLICK8], volume=100, sound_filter=0,
                              scheme=None)
        self.press_unheard(key_event(0x41, "a"))
        self.assertEqual(self.exit_app(app), 0)
        # The same scheme, once it is the stored one, sounds.
        self.tvx.reg_write(harness.PROGRAM_KEY, "Scheme", "sz", "0")
        self.start_app(app)
        self.assert_plays([(key_event(0x41, "a"), CLICK8.expected(100))])


def first_difference(left, right):
    for i, (a, b) in enumerate(zip(left, right)):
        if a != b:
            return i
    return min(len(left), len(right))


if __name__ == "__main__":
    harness.main()
