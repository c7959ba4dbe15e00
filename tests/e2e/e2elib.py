"""Helpers of the end-to-end tests: the demo portal, the real program under Wine, the window
probe, screenshots and the registry of the shared Wine prefix.

The Wine environment (WINEPREFIX, DISPLAY, LANG, a running wineserver, WINE64) comes from
scripts/wine-env.sh, which the test command sources before it runs CTest. The program has the
portal's ports compiled in, so these tests use the portal's default ports and run one at a time.
Every wait here is bounded.
"""

import os
import shutil
import signal
import socket
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "scripts"))
import screengrab  # noqa: E402

SW_SHOWMINNOACTIVE = 7
PROBE_QUERIES = ("find", "children", "taskbar")  # probe commands that only look
PAGE_REQUESTS = ("/left2/menu.htm", "/box/google.html", "/box/text.html", "/box/")
PORTAL_PORTS = (38080, 38081, 38082)
# The program registers its type library at every start, pointing at the copy in the work folder,
# which goes at the end of the test: these keys are put back as they were before the test.
TYPELIB_KEYS = (r"HKCR\TypeLib\{0911259F-C974-4B51-83E0-31D16A561B9B}",
                r"HKCR\Interface\{2A73A70B-8109-430D-8677-361308291B39}")


class TestFailure(Exception):
    pass


def log(msg):
    print(msg, flush=True)


def wine_loader(override=None):
    exe = override or os.environ.get("WINE64", "/usr/lib/wine/wine64")
    for var in ("WINEPREFIX", "DISPLAY"):
        if not os.environ.get(var):
            raise TestFailure("%s is not set: run the tests through scripts/test.sh, or source "
                              "scripts/wine-env.sh and call wine_env_start first" % var)
    return exe


def port_in_use(port):
    try:
        with socket.create_connection(("127.0.0.1", port), timeout=0.3):
            return True
    except OSError:
        return False


class RequestLogLine:
    """One line of the portal's log: time, server, client port, request line, user agent."""

    def __init__(self, text):
        self.text = text
        head, _, rest = text.partition(' "')
        stamp, self.server, port = head.split(" ")
        self.time = float(stamp)
        self.client_port = int(port)
        self.request_line, _, ua = rest.partition('" UA="')
        self.user_agent = ua[:-1] if ua.endswith('"') else ua
        parts = self.request_line.split(" ")
        self.method = parts[0]
        self.target = parts[1] if len(parts) > 1 else ""
        self.path = self.target.split("?", 1)[0]


class Session:
    """A work folder with a copy of the program, the portal and the program's process."""

    def __init__(self, args, name):
        self.args = args
        self.wine = wine_loader(getattr(args, "wine", None))
        self.out = os.path.join(args.out, name)
        shutil.rmtree(self.out, ignore_errors=True)
        os.makedirs(self.out)
        self.work = tempfile.mkdtemp(prefix="tavlox-e2e-")
        self.portal = None
        self.program = None
        self.started = None
        self.portal_log = os.path.join(self.out, "portal.log")
        self.registry_undo = []
        self.helpers = []
        self.x_error_restarts = 0
        self.program_start_args = None
        self.shots = 0

    # --- lifetime ------------------------------------------------------------------------------

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        # Every step runs, whatever the one before it did: nothing of a test may outlive it.
        def stop(proc, what):
            if proc and proc.poll() is None:
                if what:
                    log("stopping %s that is still running (pid %d)" % (what, proc.pid))
                proc.kill()
                try:
                    proc.wait(10)
                except subprocess.TimeoutExpired:
                    log("%s (pid %d) did not end after kill" % (what or "a helper", proc.pid))
        stop(self.program, "the program")
        for proc in self.helpers:
            stop(proc, None)
        if self.portal and self.portal.poll() is None:
            self.portal.send_signal(signal.SIGTERM)
            try:
                self.portal.wait(10)
            except subprocess.TimeoutExpired:
                stop(self.portal, "the portal")
        for undo in reversed(self.registry_undo):
            try:
                self.wine_run(undo, check=False)
            except subprocess.SubprocessError as e:
                log("could not restore the registry (%s): %s" % (" ".join(undo), e))
        shutil.rmtree(self.work, ignore_errors=True)
        return False

    # --- the portal --------------------------------------------------------------------------

    def start_portal(self, *portal_args):
        busy = [p for p in PORTAL_PORTS if port_in_use(p)]
        if busy:
            raise TestFailure("ports %s are already in use: another demo portal is running?" % busy)
        # The portal ends when this process does, whatever way it ends: it reads our pipe.
        cmd = [sys.executable, self.args.portal, "--log", self.portal_log, "--until-stdin-closes"]
        if self.args.installer:
            cmd += ["--installer", self.args.installer]
        cmd += list(portal_args)
        self.portal_err = open(os.path.join(self.out, "portal.stderr"), "w")
        self.portal = subprocess.Popen(cmd, stdin=subprocess.PIPE, stdout=subprocess.DEVNULL, stderr=self.portal_err)
        rc = subprocess.call([sys.executable, self.args.portal, "--wait-ready", "--timeout", "10"])
        if rc != 0 or self.portal.poll() is not None:
            raise TestFailure("the demo portal did not start (see %s)" % self.portal_err.name)

    def requests(self):
        try:
            with open(self.portal_log, encoding="utf-8", errors="replace") as f:
                lines = f.readlines()
        except FileNotFoundError:
            return []
        out = []
        for line in lines:
            if not line.endswith("\n"):
                break  # the portal is still writing this one
            try:
                out.append(RequestLogLine(line.rstrip("\n")))
            except ValueError:
                raise TestFailure("unreadable line in the portal's log: %r" % line)
        return out

    def wait_for_requests(self, paths, timeout, server="content"):
        """Waits until every path in `paths` was requested from `server`; returns the first
        request of each, in the order given."""
        deadline = time.monotonic() + timeout
        while True:
            seen = {}
            for r in self.requests():
                if r.server == server and r.path in paths and r.path not in seen:
                    seen[r.path] = r
            if len(seen) == len(paths):
                return [seen[p] for p in paths]
            if self.restart_after_x_error():
                deadline = time.monotonic() + timeout
                continue
            self.check_running("while waiting for the requests %s" % list(paths))
            if time.monotonic() >= deadline:
                missing = [p for p in paths if p not in seen]
                raise TestFailure("no request for %s within %g s; the portal saw:\n  %s" % (
                    missing, timeout, "\n  ".join(r.text for r in self.requests()) or "(nothing)"))
            time.sleep(0.05)

    # --- the program -------------------------------------------------------------------------

    def wine_run(self, args, check=True, timeout=30):
        r = subprocess.run([self.wine] + list(args), stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                           timeout=timeout, cwd=self.work)
        if check and r.returncode != 0:
            raise TestFailure("wine %s failed with %d: %s" % (" ".join(args), r.returncode,
                                                               r.stderr.decode(errors="replace")))
        return r

    def ensure_registry_key(self, key):
        """Creates `key` for this test when it is missing, and removes it again afterwards."""
        if self.wine_run(["reg", "query", key], check=False).returncode != 0:
            self.wine_run(["reg", "add", key, "/f"])
            self.registry_undo.append(["reg", "delete", key, "/f"])

    def ensure_registry_key_absent(self, key):
        """Removes `key` for this test when it exists, and puts it back afterwards."""
        if self.wine_run(["reg", "query", key], check=False).returncode == 0:
            backup = "Z:" + os.path.join(self.out, "registry-backup-%d.reg" % len(self.registry_undo)).replace("/", "\\")
            self.wine_run(["reg", "export", key, backup, "/y"])
            self.wine_run(["reg", "delete", key, "/f"])
            self.registry_undo.append(["reg", "import", backup])

    def preserve_registry_key(self, key):
        """Whatever happens to `key` during the test, afterwards it is as it was before."""
        if self.wine_run(["reg", "query", key], check=False).returncode == 0:
            backup = "Z:" + os.path.join(self.out, "registry-backup-%d.reg" % len(self.registry_undo)).replace("/", "\\")
            self.wine_run(["reg", "export", key, backup, "/y"])
            self.registry_undo.append(["reg", "import", backup])
        self.registry_undo.append(["reg", "delete", key, "/f"])

    def set_registry_string(self, key, name, value):
        """Sets a string value for this test; afterwards the key is as it was before."""
        if self.wine_run(["reg", "query", key], check=False).returncode == 0:
            backup = "Z:" + os.path.join(self.out, "registry-backup-%d.reg" % len(self.registry_undo)).replace("/", "\\")
            self.wine_run(["reg", "export", key, backup, "/y"])
            self.registry_undo.append(["reg", "import", backup])
            self.registry_undo.append(["reg", "delete", key, "/f"])
        else:
            self.registry_undo.append(["reg", "delete", key, "/f"])
        self.wine_run(["reg", "add", key, "/v", name, "/t", "REG_SZ", "/d", value, "/f"])

    def start_program(self, *program_args, maximized=False, minimized=False):
        """Starts the copy of the program; `maximized` and `minimized` start it as a shortcut set
        to "maximised" or "minimised" would (show command SW_SHOWMAXIMIZED through start /max
        /wait, SW_SHOWMINNOACTIVE through the probe's launch); both pass the program's exit
        code on."""
        # A program started while Wine's virtual desktop is still coming up can die of an X error.
        self.wine_run([self.args.probe, "desktop", "-", "10000"], check=False, timeout=30)
        # These tests run alone, so any tavlox.exe still running is left over from a test that
        # was killed; the probe must see only ours.
        self.wine_run(["taskkill", "/f", "/im", "tavlox.exe"], check=False, timeout=30)
        if self.program_start_args is None:
            for key in TYPELIB_KEYS:
                self.preserve_registry_key(key)
        self.program_start_args = (program_args, {"maximized": maximized, "minimized": minimized})
        exe = os.path.join(self.work, "tavlox.exe")
        shutil.copy(self.args.program, exe)
        self.program_out = open(os.path.join(self.out, "program.output"), "a")
        self.started = time.time()
        launcher = []
        if maximized:
            launcher = ["start", "/max", "/wait"]
        elif minimized:
            launcher = [self.args.probe, "launch", str(SW_SHOWMINNOACTIVE)]
        self.program = subprocess.Popen([self.wine] + launcher + ["tavlox.exe"] + list(program_args), cwd=self.work,
                                        stdout=self.program_out, stderr=subprocess.STDOUT)

    def copy_beside_program(self, source, name):
        shutil.copy(source, os.path.join(self.work, name))

    def file_beside_program(self, name):
        return os.path.join(self.work, name)

    def wait_for_file(self, name, timeout):
        path = self.file_beside_program(name)
        deadline = time.monotonic() + timeout
        while not os.path.exists(path):
            if time.monotonic() >= deadline:
                raise TestFailure("%s did not appear beside the program within %g s" % (name, timeout))
            time.sleep(0.1)
        return path

    def start_helper(self, source, relative_path):
        """Starts a copy of the Windows program `source`, named `relative_path` in the work
        folder; it is killed at the end of the session if it still runs."""
        path = os.path.join(self.work, relative_path)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        shutil.copy(source, path)
        proc = subprocess.Popen([self.wine, path], cwd=os.path.dirname(path), stdout=subprocess.DEVNULL,
                                stderr=subprocess.DEVNULL)
        self.helpers.append(proc)
        return proc

    def restart_after_x_error(self):
        """Wine's X11 driver sometimes fails the first window of a process started while the
        virtual desktop is still settling (BadWindow on X_CreateWindow) and ends the process.
        That is the environment, not the program: start it once more, at most once."""
        if self.program.poll() is None or self.x_error_restarts >= 1 or not self.program_start_args:
            return False
        self.program_out.flush()
        with open(self.program_out.name, errors="replace") as f:
            if "X Error of failed request" not in f.read():
                return False
        self.x_error_restarts += 1
        log("the program died of a Wine X error at start; starting it once more")
        self.start_program(*self.program_start_args[0], **self.program_start_args[1])
        return True

    def check_running(self, when):
        if self.program and self.program.poll() is not None:
            raise TestFailure("the program ended with exit code %d %s" % (self.program.returncode, when))

    def wait_exit(self, timeout):
        try:
            return self.program.wait(timeout)
        except subprocess.TimeoutExpired:
            raise TestFailure("the program did not end within %g s" % timeout)

    # --- the window probe --------------------------------------------------------------------

    def probe(self, command, timeout_ms=15000, extra=()):
        # Every failure of the probe itself comes with its message. Once in a few dozen runs under
        # a new prefix a query ended with exit code 1 and no message at all, before its wait was
        # over: that is Wine ending the probe, not an answer about the program, so a query that
        # changes nothing is asked once more.
        for attempt in (1, 2):
            r = self.wine_run([self.args.probe, command, "tavlox.exe", str(timeout_ms)] + list(extra), check=False,
                              timeout=timeout_ms / 1000 + 15)
            if r.returncode == 0:
                return r.stdout.decode("utf-8", errors="replace").strip()
            message = r.stderr.decode(errors="replace").strip()
            if message or command not in PROBE_QUERIES or attempt == 2:
                raise TestFailure("window_probe %s failed (%d): %s%s" % (
                    command, r.returncode, message or "(no message)",
                    "; output: " + r.stdout.decode("utf-8", errors="replace").strip() if r.stdout else ""))
            log("window_probe %s ended with exit code %d and no message; asking once more" % (command, r.returncode))

    def wait_dialog(self, timeout_ms=15000, button=0):
        """Waits for a message box of the program and presses `button` (0: none); returns its
        facts: "caption", "text" and "window" (left, top, right, bottom on the screen)."""
        r = self.wine_run([self.args.probe, "dialog", "tavlox.exe", str(timeout_ms), str(button)],
                          check=False, timeout=timeout_ms / 1000 + 15)
        if r.returncode != 0:
            raise TestFailure("no dialog box of the program: %s" % r.stderr.decode(errors="replace").strip())
        lines = r.stdout.decode("utf-8", errors="replace").splitlines()
        facts = dict(line.rstrip("\r").split("=", 1) for line in lines if "=" in line)
        if "window" in facts:
            facts["window"] = tuple(int(v) for v in facts["window"].split(","))
        return facts

    def answer_dialog(self, button, timeout_ms=15000):
        """Waits for a message box of the program, presses `button` (0: none); returns its
        (caption, text)."""
        facts = self.wait_dialog(timeout_ms, button)
        return facts.get("caption", ""), facts.get("text", "")

    def expect_painted(self, name, rect, timeout=5.0):
        """Waits until the screen shows a painted window at `rect` (left, top, right, bottom):
        mostly light pixels (a dialog's face) with some dark ones (its text), not the black of
        a window that was never drawn. Returns None, or what the screen showed instead."""
        deadline = time.monotonic() + timeout
        while True:
            image = self.screenshot(name)
            light, dark, black, total = image.tally(rect)
            if total and light / total >= 0.5 and dark > 0 and black / total < 0.2:
                return None
            if time.monotonic() >= deadline:
                return ("the window at %s is not painted on the screen (%s): %d of %d pixels light, %d dark, "
                        "%d black" % (rect, image.path, light, total, dark, black))
            time.sleep(0.25)

    def dialog_shown(self, timeout_ms):
        r = self.wine_run([self.args.probe, "dialog", "tavlox.exe", str(timeout_ms)], check=False,
                          timeout=timeout_ms / 1000 + 15)
        return r.stdout.decode("utf-8", errors="replace").strip() if r.returncode == 0 else None

    def children(self):
        """The main window's descendant windows: depth, class, rect in client coordinates
        (left, top, width, height), visible flag, text."""
        out = []
        for line in self.probe("children").splitlines():
            depth, rest = line.split(" ", 1)
            # The class name may hold blanks ("Shell Embedding"): the six fields after it don't.
            fields = rest.split(" ")
            for i in range(1, len(fields) - 4):
                try:
                    nums = [int(v) for v in fields[i:i + 5]]
                except ValueError:
                    continue
                out.append({"depth": int(depth), "class": " ".join(fields[:i]), "rect": tuple(nums[:4]),
                            "visible": nums[4] == 1, "text": " ".join(fields[i + 5:])})
                break
        return out

    def find_main_window(self):
        line = self.probe("find")
        head, _, caption = line.partition(" caption=")
        facts = dict(item.split("=", 1) for item in head.split())
        window = {"caption": caption.rstrip("\r")}
        for key, value in facts.items():
            window[key] = tuple(int(v) for v in value.split(",")) if "," in value else value
        return window

    # --- screenshots -------------------------------------------------------------------------

    def next_shot(self):
        """A running number for screenshots of this session."""
        self.shots += 1
        return self.shots

    def screenshot(self, name):
        """The whole screen as it shows now; also saved as NAME.png in the test's folder."""
        png = os.path.join(self.out, name + ".png")
        try:
            width, height, rgb = screengrab.grab(os.environ["DISPLAY"])
        except (screengrab.GrabError, KeyError) as e:
            raise TestFailure("no screenshot: %s" % e)
        screengrab.save(png, width, height, rgb)
        return Image(width, height, rgb, png)


class Image:
    def __init__(self, width, height, data, path):
        self.width, self.height, self.data, self.path = width, height, data, path

    def tally(self, rect):
        """Counts the pixels inside `rect` (left, top, right, bottom; clamped to the screen):
        (light, dark, pure black, all)."""
        left, top = max(0, rect[0]), max(0, rect[1])
        right, bottom = min(self.width, rect[2]), min(self.height, rect[3])
        light = dark = black = 0
        for y in range(top, bottom):
            row = self.data[(y * self.width + left) * 3:(y * self.width + right) * 3]
            for i in range(0, len(row), 3):
                luma = (299 * row[i] + 587 * row[i + 1] + 114 * row[i + 2]) // 1000
                if luma >= 192:
                    light += 1
                elif luma < 96:
                    dark += 1
                    if row[i] == row[i + 1] == row[i + 2] == 0:
                        black += 1
        return light, dark, black, max(0, right - left) * max(0, bottom - top)

    def pixel(self, x, y):
        if not (0 <= x < self.width and 0 <= y < self.height):
            raise TestFailure("pixel %d,%d lies outside the %dx%d screenshot" % (x, y, self.width, self.height))
        i = (y * self.width + x) * 3
        return tuple(self.data[i:i + 3])
