"""Drives the built game in a real X server: Xvfb, xdotool key presses, screenshots."""

import os
import re
import shutil
import struct
import subprocess
import tempfile
import time
import unittest

WIDTH, HEIGHT = 800, 600
FOOD, EXIT, WATER, MUSHROOM, SAND, EARTH = range(6)
START = {1: (24, 35), 2: (3, 28), 3: (34, 35), 4: (1, 38)}  # StartX, StartY per level


def head_of(level):
    sx, sy = START[level]
    return sx + 1, sy - 10


def cell_pixel(x, y, dx=5, dy=5):
    """Screen position of a pixel inside cell (x, y)."""
    return 160 + 11 * x + dx, 65 + 11 * y + dy


def level_bytes(grid):
    """grid[x-1][y-1] -> the level file: column by column, little-endian int32."""
    return b"".join(struct.pack("<i", grid[x][y]) for x in range(40) for y in range(40))


def earth_level():
    g = [[EARTH] * 40 for _ in range(40)]
    for i in range(40):
        g[0][i] = g[39][i] = g[i][0] = g[i][39] = WATER
    return g


class Screenshot:
    """The root window as xwd dumps it, read directly: polling must be quick enough to
    catch short-lived screens such as the pause screen."""

    def __init__(self, xwd):
        self.xwd = xwd
        fields = struct.unpack(">25I", xwd[:100])
        header_size, depth, bpp, self.stride = fields[0], fields[3], fields[11], fields[12]
        byte_order, ncolors = fields[7], fields[19]
        if depth != 24 or bpp != 32 or byte_order != 0:
            raise ValueError(f"unexpected screen format: depth {depth}, {bpp} bpp")
        self.base = header_size + 12 * ncolors

    def pixel(self, x, y):
        o = self.base + y * self.stride + x * 4
        return self.xwd[o + 2], self.xwd[o + 1], self.xwd[o]

    def save_png(self, path):
        subprocess.run(["convert", "xwd:-", path], input=self.xwd, check=True)


def near(colour, want, tolerance=40):
    return all(abs(a - b) <= tolerance for a, b in zip(colour, want))


class GameTestCase(unittest.TestCase):
    """Each test: its own X server, its own working directory with its own levels."""

    binary = os.environ.get("KREL_BIN", "")
    audio_driver = "dummy"

    def setUp(self):
        self.assertTrue(os.path.exists(self.binary), f"no game at {self.binary!r}")
        self.out_dir = os.environ.get("KREL_E2E_OUT") or tempfile.mkdtemp(prefix="krel-e2e-")
        os.makedirs(self.out_dir, exist_ok=True)
        self.work = tempfile.mkdtemp(prefix="krel-run-")
        self.home = tempfile.mkdtemp(prefix="krel-home-")
        self.game = None
        self.env = None
        self.display = self._start_xvfb()
        self.addCleanup(self._cleanup)

    def _start_xvfb(self):
        read_fd, write_fd = os.pipe()
        self.xvfb = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_fd), "-screen", "0", f"{WIDTH}x{HEIGHT}x24",
             "-nolisten", "tcp"], pass_fds=(write_fd,), stdout=subprocess.DEVNULL,
            stderr=subprocess.DEVNULL)
        os.close(write_fd)
        with os.fdopen(read_fd) as f:
            number = f.readline().strip()
        self.assertTrue(number, "Xvfb did not start")
        return ":" + number

    def _cleanup(self):
        if self.game:
            if self.game.poll() is None:
                self.game.kill()
            self.game.communicate()
        self.xvfb.terminate()
        self.xvfb.wait()
        shutil.rmtree(self.work, ignore_errors=True)
        shutil.rmtree(self.home, ignore_errors=True)

    def write_level(self, n, grid):
        with open(os.path.join(self.work, f"{n}.lev"), "wb") as f:
            f.write(level_bytes(grid))

    def start_game(self, extra_env=None, command=None, cwd=None):
        env = {
            "PATH": os.environ.get("PATH", "/usr/bin:/bin"),
            "DISPLAY": self.display,
            "HOME": self.home,
            "SDL_AUDIODRIVER": self.audio_driver,
            # The system's own libraries (dbus, GL drivers) keep caches for the
            # process's lifetime; the headless suites check our code for leaks.
            "ASAN_OPTIONS": "detect_leaks=0",
        }
        if extra_env:
            env.update(extra_env)
        self.env = env
        self.game = subprocess.Popen(command or [self.binary], cwd=cwd or self.work, env=env,
                                     stdout=subprocess.PIPE, stderr=subprocess.PIPE)
        self.window = self.wait_for(self._game_window, "the game's window")
        # SDL may replace the first window it maps: let it settle, then focus it.
        time.sleep(0.5)
        self.window = self.wait_for(self._game_window, "the game's window")
        self.xdo("windowfocus", "--sync", self.window)

    def xdo(self, *args):
        return subprocess.run(["xdotool", *args], env={**os.environ, "DISPLAY": self.display},
                              capture_output=True, text=True, timeout=20).stdout

    def windows(self):
        """Top-level windows named Krel, as (id, width, height)."""
        out = subprocess.run(["xwininfo", "-root", "-children"], capture_output=True, text=True,
                             env={**os.environ, "DISPLAY": self.display}).stdout
        found = []
        for m in re.finditer(r'(0x[0-9a-f]+) "Krel":.*?(\d+)x(\d+)\+', out):
            found.append((m.group(1), int(m.group(2)), int(m.group(3))))
        return found

    def _game_window(self):
        for wid, w, h in self.windows():
            if (w, h) == (WIDTH, HEIGHT):
                return wid
        return None

    def box(self):
        """A message box of the game (a Krel window that is not the game's)."""
        for wid, w, h in self.windows():
            if (w, h) != (WIDTH, HEIGHT):
                return wid
        return None

    def wait_for(self, probe, what, timeout=20.0):
        end = time.monotonic() + timeout
        while time.monotonic() < end:
            if self.game and self.game.poll() is not None and what != "the game's exit":
                _, err = self.game.communicate()
                self.fail(f"the game ended ({self.game.returncode}) while waiting for {what}: "
                          f"{err.decode(errors='replace')[-2000:]}")
            result = probe()
            if result:
                return result
            time.sleep(0.02)
        shot = self.screenshot()
        path = os.path.join(self.out_dir, f"{self.id()}.png")
        shot.save_png(path)
        self.fail(f"timed out waiting for {what}; screenshot kept at {path}")

    def screenshot(self):
        return Screenshot(subprocess.run(["xwd", "-root", "-silent", "-display", self.display],
                                         capture_output=True, check=True).stdout)

    def wait_pixel(self, x, y, test, what, timeout=20.0):
        return self.wait_for(lambda: test(self.screenshot().pixel(x, y)), what, timeout)

    def hold(self, *keys, seconds=0.2):
        """Holds keys for a few frames: the game polls key states once a tick."""
        self.xdo("windowfocus", "--sync", self.window)
        for k in keys:
            self.xdo("keydown", k)
        time.sleep(seconds)
        for k in reversed(keys):
            self.xdo("keyup", k)

    def press_in_box(self, box, key):
        self.xdo("key", "--window", box, key)

    def wait_exit(self, timeout=20.0):
        self.wait_for(lambda: self.game.poll() is not None, "the game's exit", timeout)
        return self.game.returncode

    # What the screens look like, by a few telling pixels.
    def menu_start_highlighted(self, shot):
        return self._salmon_in(shot, 277, 252, 531, 273) and not self._salmon_in(shot, 326, 325, 481, 345)

    def menu_exit_highlighted(self, shot):
        return self._salmon_in(shot, 326, 325, 481, 345) and not self._salmon_in(shot, 277, 252, 531, 273)

    @staticmethod
    def _salmon_in(shot, x0, y0, x1, y1):
        count = 0
        for y in range(y0, y1 + 1, 2):
            for x in range(x0, x1 + 1, 2):
                if near(shot.pixel(x, y), (0xF8, 0x93, 0x7F), 12):
                    count += 1
        return count > 20

    @staticmethod
    def is_earth(colour):
        return near(colour, (0xB8, 0xA1, 0x7F), 14)

    @staticmethod
    def is_panel_heading(colour):
        return near(colour, (0xF3, 0x94, 0xB9), 10)

    def play_screen(self, shot):
        panel = any(self.is_panel_heading(shot.pixel(x, y)) for y in range(75, 90)
                    for x in range(670, 700))
        return panel and self.is_earth(shot.pixel(*cell_pixel(20, 3)))
