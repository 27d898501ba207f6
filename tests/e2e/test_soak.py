"""A minute of typing at 15 keys a second with a scheme switch and new settings every 15 s: every
key is heard, and Tapvox's kernel handle, GDI and USER object counts do not grow."""

import harness
import soak

# The baseline is the largest value of the first samples after the warm-up (the first 20 s,
# which hold a scheme switch and a Settings dialog already): a count may move by a handle or two
# while Wine works, but from then on it must not climb above where it stood.
BASELINE_SAMPLES = 3
CHECKED_COUNTS = ("handles", "gdi", "user")
# At most one key event in this many may open no sound device of its own (see below).
UNHEARD_SHARE = 200


class SoakTest(harness.TapvoxTestCase):

    def test_minute_of_typing_is_heard_and_leaks_nothing(self):
        run = soak.Soak(self.session, self.tvx, 60, scheme_every=15, sample_every=10)
        run.run()
        run.report()
        # Each key event opened the sound device and played its samples, unless Wine's path to
        # the device took longer than the gap to the next key, whose sound then replaced it as
        # every new sound does (the share depends on the machine's load). On a heavily loaded
        # machine a key event in a few hundred may open no device of its own, which this capture
        # cannot tell apart from a sound replaced before Wine opened the device: that much is let
        # through, anything more fails.
        unheard = run.requests - run.heard - run.replaced
        self.assertLessEqual(unheard, run.requests // UNHEARD_SHARE,
                             "%d of %d sounds asked for opened no sound device" % (unheard, run.requests))
        self.assertEqual(run.silence, 0, "key events that played only silence")
        first, last = run.samples[:BASELINE_SAMPLES], run.samples[-1]
        for name in CHECKED_COUNTS:
            with self.subTest(count=name):
                self.assertTrue(run.readable(name), "%s: not readable here" % name)
                self.assertLessEqual(last[name], max(sample[name] for sample in first),
                                     [sample[name] for sample in run.samples])


if __name__ == "__main__":
    harness.main()
