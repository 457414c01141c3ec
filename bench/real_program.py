"""The real program under Xvfb: start-up time, CPU per displayed frame, peak memory.

Usage: python3 bench/real_program.py path/to/krel [runs]
"""

import os
import statistics
import sys
import time
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "tests", "e2e"))
from krelwin import GameTestCase, earth_level  # noqa: E402

CLOCK_TICKS = os.sysconf("SC_CLK_TCK")


def cpu_seconds(pid):
    with open(f"/proc/{pid}/stat") as f:
        fields = f.read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / CLOCK_TICKS  # utime + stime


def peak_rss_kib(pid):
    with open(f"/proc/{pid}/status") as f:
        for line in f:
            if line.startswith("VmHWM:"):
                return int(line.split()[1])
    return 0


class Measure(GameTestCase):
    results = []

    def test_once(self):
        self.write_level(1, earth_level())
        t0 = time.monotonic()
        self.start_game()
        self.wait_for(lambda: self.menu_start_highlighted(self.screenshot()), "the menu", 30)
        to_menu = time.monotonic() - t0
        self.hold("Return")
        self.wait_for(lambda: self.play_screen(self.screenshot()), "the play screen")
        time.sleep(1.5)  # past the first measuring second
        cpu0, w0 = cpu_seconds(self.game.pid), time.monotonic()
        time.sleep(5)
        cpu1, w1 = cpu_seconds(self.game.pid), time.monotonic()
        frames = 60 * (w1 - w0)  # the flip paces play to the 60 Hz refresh
        Measure.results.append((to_menu, (cpu1 - cpu0) / frames * 1e3,
                                peak_rss_kib(self.game.pid) / 1024))


def main():
    GameTestCase.binary = os.path.abspath(sys.argv[1])
    runs = int(sys.argv[2]) if len(sys.argv) > 2 else 5
    for _ in range(runs):
        result = unittest.TextTestRunner(stream=open(os.devnull, "w")).run(
            unittest.TestLoader().loadTestsFromTestCase(Measure))
        if not result.wasSuccessful():
            print("a run failed:", result.failures or result.errors)
            return 1
    start, cpu, rss = zip(*Measure.results)
    print(f"real program, {runs} runs, medians:")
    print(f"  start to the first menu frame:   {statistics.median(start) * 1e3:7.0f} ms"
          " (includes screenshot polling, ~50 ms resolution)")
    print(f"  CPU time per displayed frame:    {statistics.median(cpu):7.2f} ms"
          f" ({statistics.median(cpu) / (1000 / 60) * 100:.0f}% of a 60 Hz frame)")
    print(f"  peak resident memory:            {statistics.median(rss):7.1f} MiB")
    return 0


if __name__ == "__main__":
    sys.exit(main())
