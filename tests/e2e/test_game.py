"""The built game as a player meets it: a real window, real keys, real screenshots."""

import os
import re
import shutil
import struct
import subprocess
import tempfile
import time
import unittest

from krelwin import (EARTH, EXIT, FOOD, WATER, GameTestCase, cell_pixel, earth_level, head_of,
                     near)


def deadly_level(level):
    """The cell above the snake's head is water: it dies on its first step."""
    g = earth_level()
    x, y = head_of(level)
    g[x - 1][y - 2] = WATER
    return g


def straight_level():
    """Ten food cells in a line above the head, the exit after them: won by waiting."""
    g = earth_level()
    x, y = head_of(1)
    for i in range(1, 11):
        g[x - 1][y - 1 - i] = FOOD
    g[x - 1][y - 12] = EXIT
    return g


class MenuAndPlay(GameTestCase):
    def test_menu_highlight_moves_and_enter_starts_level_one(self):
        self.write_level(1, earth_level())
        self.start_game()
        self.wait_for(lambda: self.menu_start_highlighted(self.screenshot()),
                      "the menu with its start entry highlighted")
        self.screenshot().save_png(os.path.join(self.out_dir, "menu.png"))
        self.hold("Down")
        self.wait_for(lambda: self.menu_exit_highlighted(self.screenshot()),
                      "the exit entry highlighted")
        self.hold("Up")
        self.wait_for(lambda: self.menu_start_highlighted(self.screenshot()),
                      "the start entry highlighted again")
        self.hold("Return")
        self.wait_for(lambda: self.play_screen(self.screenshot()), "the play screen")
        # The snake moves up: its tail leaves the bottom of its start column.
        self.wait_pixel(*cell_pixel(25, 34), self.is_earth, "the tail to leave its start cell")
        self.screenshot().save_png(os.path.join(self.out_dir, "play.png"))

    def test_esc_asks_no_keeps_playing_yes_returns_to_the_menu(self):
        self.write_level(1, earth_level())
        self.start_game()
        self.wait_for(lambda: self.menu_start_highlighted(self.screenshot()), "the menu")
        self.hold("Return")
        self.wait_for(lambda: self.play_screen(self.screenshot()), "the play screen")
        self.hold("Escape")
        box = self.wait_for(self.box, "the Esc box")
        self.press_in_box(box, "Escape")
        self.wait_for(lambda: not self.box(), "the box to close")
        self.wait_pixel(*cell_pixel(25, 34), self.is_earth, "the snake to go on moving")
        self.hold("Escape")
        box = self.wait_for(self.box, "the Esc box again")
        self.press_in_box(box, "Return")
        self.wait_for(lambda: self.menu_start_highlighted(self.screenshot()), "the menu after Yes")
        self.hold("Down")
        self.wait_for(lambda: self.menu_exit_highlighted(self.screenshot()), "the exit entry")
        self.hold("Return")
        self.assertEqual(self.wait_exit(), 0)

    def test_deaths_pause_repeat_the_level_and_the_fourth_ends_the_game(self):
        self.write_level(1, deadly_level(1))
        self.start_game()
        self.wait_for(lambda: self.menu_start_highlighted(self.screenshot()), "the menu")
        self.hold("Return")
        self.wait_for(lambda: self.play_screen(self.screenshot()), "the play screen")
        # The pause screen: background and panel, no field.
        self.wait_for(lambda: not self.is_earth(self.screenshot().pixel(*cell_pixel(20, 3))),
                      "the pause screen", timeout=60)
        self.wait_for(lambda: self.play_screen(self.screenshot()), "the level again", timeout=60)
        self.wait_for(lambda: self.menu_start_highlighted(self.screenshot()),
                      "the menu after the fourth death", timeout=120)

    def test_missing_level_file_gives_the_error_box_and_the_game_goes_on(self):
        self.start_game()
        self.wait_for(lambda: self.menu_start_highlighted(self.screenshot()), "the menu")
        self.hold("Return")
        box = self.wait_for(self.box, "the error box")
        self.press_in_box(box, "Return")
        self.wait_for(lambda: not self.box(), "the box to close")
        # Nothing was read: every cell is food, drawn with the green food picture.
        self.wait_pixel(*cell_pixel(20, 3),
                        lambda c: c[1] > 0xD0 and c[0] < 0xC0 and c[2] < 0xB0,
                        "the all-food field")
        self.assertIsNone(self.game.poll())


class Sound(GameTestCase):
    audio_driver = "disk"

    def test_menu_click_and_the_rustle_reach_the_sound_output(self):
        wav = os.path.join(self.home, "..", os.path.basename(self.home) + ".raw")
        wav = os.path.abspath(wav)
        self.addCleanup(lambda: os.path.exists(wav) and os.remove(wav))
        self.write_level(1, earth_level())
        self.start_game({"SDL_DISKAUDIOFILE": wav, "SDL_DISKAUDIODELAY": "10"})
        self.wait_for(lambda: self.menu_start_highlighted(self.screenshot()), "the menu")
        before = os.path.getsize(wav)
        self.hold("Return")
        self.wait_for(lambda: self.play_screen(self.screenshot()), "the play screen")
        time.sleep(3)
        with open(wav, "rb") as f:
            data = f.read()
        samples = struct.unpack(f"<{len(data) // 2}h", data[: len(data) // 2 * 2])
        start = before // 2
        click = max((abs(s) for s in samples[start:start + 44100 * 2]), default=0)
        self.assertGreater(click, 20000, "the menu click")
        later = samples[start + 44100 * 2:]
        rustle = max((abs(s) for s in later), default=0)
        self.assertGreater(rustle, 300, "the snake's rustle")
        self.assertLess(rustle, 8000, "the rustle is quiet")


class Silent(GameTestCase):
    audio_driver = "no-such-driver"

    def test_no_sound_device_plays_silent_without_a_box(self):
        self.write_level(1, earth_level())
        self.start_game()
        self.wait_for(lambda: self.menu_start_highlighted(self.screenshot()), "the menu")
        self.hold("Return")
        self.wait_for(lambda: self.play_screen(self.screenshot()), "the play screen")
        self.wait_pixel(*cell_pixel(25, 34), self.is_earth, "the snake to move")
        self.assertIsNone(self.box())


class WritesNothing(GameTestCase):
    def listing(self, root):
        out = {}
        for base, dirs, files in os.walk(root):
            for name in dirs + files:
                path = os.path.join(base, name)
                st = os.lstat(path)
                out[os.path.relpath(path, root)] = (st.st_size, st.st_mtime_ns)
        return out

    def test_a_game_through_a_completed_level_and_a_death_writes_no_file(self):
        self.write_level(1, straight_level())
        self.write_level(2, deadly_level(2))
        work, home = self.listing(self.work), self.listing(self.home)
        self.start_game()
        self.wait_for(lambda: self.menu_start_highlighted(self.screenshot()), "the menu")
        self.hold("Return")
        self.wait_for(lambda: self.play_screen(self.screenshot()), "level 1")
        # Level 1 is won by going straight up. Level 2 shows its water above the head,
        # then kills the snake four times, which ends the game.
        water = cell_pixel(*head_of(2))
        self.wait_pixel(water[0], water[1] - 11, lambda c: c[2] == 0xF8 and c[0] < 0xA0,
                        "level 2, after level 1 was completed", timeout=60)
        self.wait_for(lambda: self.menu_start_highlighted(self.screenshot()),
                      "the menu after four deaths", timeout=120)
        self.hold("Down")
        self.wait_for(lambda: self.menu_exit_highlighted(self.screenshot()), "the exit entry")
        self.hold("Return")
        self.assertEqual(self.wait_exit(), 0)
        self.assertEqual(self.listing(self.work), work)
        self.assertEqual(self.listing(self.home), home)


class Startup(GameTestCase):
    def test_without_a_window_system_the_game_says_so_and_fails(self):
        env = {"PATH": os.environ.get("PATH", "/usr/bin:/bin"), "HOME": self.home,
               "ASAN_OPTIONS": "detect_leaks=0"}
        run = subprocess.run([self.binary], cwd=self.work, env=env, capture_output=True,
                             text=True, timeout=30)
        self.assertNotEqual(run.returncode, 0)
        self.assertLess(run.returncode, 128, "ended by a signal")
        self.assertIn("display", run.stderr)

    def test_missing_pictures_stop_the_start_with_a_box(self):
        # The game alone, away from the pictures and sounds that live beside it.
        lonely = os.path.join(self.work, "bin")
        os.makedirs(lonely)
        shutil.copy(self.binary, lonely)
        self.binary = os.path.join(lonely, os.path.basename(self.binary))
        env = {"PATH": os.environ.get("PATH", "/usr/bin:/bin"), "DISPLAY": self.display,
               "HOME": self.home, "ASAN_OPTIONS": "detect_leaks=0"}
        self.game = subprocess.Popen([self.binary], cwd=self.work, env=env,
                                     stdout=subprocess.PIPE, stderr=subprocess.PIPE)

        def error_box():
            out = subprocess.run(["xwininfo", "-root", "-children"], capture_output=True,
                                 text=True, env={**os.environ, "DISPLAY": self.display}).stdout
            m = re.search(r'(0x[0-9a-f]+) "Application Error"', out)
            return m.group(1) if m else None

        box = self.wait_for(error_box, "the start-up error box")
        self.press_in_box(box, "Return")
        self.assertEqual(self.wait_exit(), 1)


class Installed(GameTestCase):
    def test_installed_game_runs_for_a_user_who_cannot_write_the_prefix(self):
        root = tempfile.mkdtemp(prefix="krel-prefix-")
        self.addCleanup(shutil.rmtree, root, True)
        prefix = os.path.join(root, "usr")
        subprocess.run(["cmake", "--install", os.environ["KREL_BUILD_DIR"], "--prefix", prefix],
                       check=True, capture_output=True)
        for path in ["bin/krel", "libexec/krel/krel", "libexec/krel/assets/menu.bmp",
                     "libexec/krel/assets/Menu.wav", "share/krel/levels/1.lev",
                     "share/krel/levels/10.lev", "share/applications/krel.desktop",
                     "share/icons/hicolor/scalable/apps/krel.svg"]:
            self.assertTrue(os.path.isfile(os.path.join(prefix, path)), path)
        # Nobody may write anywhere under the prefix.
        for base, dirs, files in os.walk(prefix):
            for name in files:
                path = os.path.join(base, name)
                os.chmod(path, 0o555 if os.access(path, os.X_OK) else 0o444)
            os.chmod(base, 0o555)
        os.chmod(root, 0o755)
        self.addCleanup(lambda: subprocess.run(["chmod", "-R", "u+w", root]))
        command = [os.path.join(prefix, "bin", "krel")]
        if os.geteuid() == 0:
            command = ["setpriv", "--reuid=nobody", "--regid=nogroup", "--clear-groups",
                       *command]
        self.start_game({"HOME": "/nonexistent"}, command=command, cwd="/")
        self.wait_for(lambda: self.menu_start_highlighted(self.screenshot()), "the menu")
        self.hold("Return")
        self.wait_for(lambda: self.play_screen(self.screenshot()), "level 1 from the installed levels")
        self.assertIsNone(self.box(), "no error box")


if __name__ == "__main__":
    unittest.main()
