#!/usr/bin/env python3
"""End to end: the shell's flows around the outside programs, against the demo portal: the
start-up checks that run once, six seconds after start (the update offer, the player's
installer download), and the clean-up after the player when the main window closes.

  update-yes        installed 12, published 13: the offer; Yes starts "LiveUpdate.exe update"
                    beside the program and the program ends with exit code 0 by itself
  update-newline    published "13" plus a line break: the version file is fetched, no offer
  installer         player missing: the prompt; Yes fetches the installer (HEAD, then GET), saves
                    it as qvod_Setup.exe beside the program with the served bytes and starts it
  installer-nolen   player missing, HEAD without Content-Length: the failure message, no GET
  installer-cut     player missing, the body ends early: the failure message, nothing saved
  exit-cleanup      closing the main window ends every player process (any letter case), keeps
                    other processes, and deletes the finished files of the player's cache only
  whole-run         one start through all of it: installed 12, published 13, player missing;
                    the update offer (No), then the player prompt (Yes); the installer is fetched,
                    saved and started; closing the main window ends the player's processes and
                    clears its cache
  regserver         "/REGSERVER" and "-regserver": exit code 0 before any window (no page is
                    requested, no dialog)

Usage: shell_flows_test.py CASE --program ... --probe ... --portal ... --installer ...
       --live-update ... --keeper ... --out ...
"""

import argparse
import os
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
import e2elib  # noqa: E402
from e2elib import PAGE_REQUESTS, TestFailure, log  # noqa: E402

IDOK, IDYES, IDNO = 1, 6, 7
VERSION_KEY = r"HKLM\Software\kqtavlox"
PLAYER_KEY = r"HKCU\Software\QvodPlayer"
UPDATE_TEXT = "发现有新版本，是否更新?"
# The prompt holds a lone carriage return; the probe shows line breaks as blanks.
PLAYER_PROMPT = ("检测到你的系统没有安装QVOD播放器，可能有些影片会播放不放。" + " " + " " * 14
                 + "是否下载安装QVOD播放器。")
DOWNLOAD_FAILED = "下载QVOD播放器失败，请到QVOD官网下载."
CHECK_DELAY = 6.0   # the start-up timer
SLACK = 20.0        # Wine start-up and a loaded machine


def expect(problems, condition, message):
    if not condition:
        problems.append(message)


def expect_dialog(s, problems, text, button):
    """Waits for the program's message box, checks its caption, its text and that the screen
    shows it drawn, then presses `button`."""
    facts = s.wait_dialog(timeout_ms=int((CHECK_DELAY + SLACK) * 1000))
    caption, shown = facts.get("caption", ""), facts.get("text", "")
    log("dialog %r: %r at %s" % (caption, shown, facts.get("window")))
    if "window" in facts:
        unpainted = s.expect_painted("dialog-%d" % s.next_shot(), facts["window"])
        expect(problems, unpainted is None, "dialog %r: %s" % (shown, unpainted))
    else:
        problems.append("the probe gave no rectangle for the dialog %r" % shown)
    s.answer_dialog(button, timeout_ms=5000)
    expect(problems, caption == "提示", "dialog caption %r, expected 提示" % caption)
    expect(problems, shown == text, "dialog text %r, expected %r" % (shown, text))


def close_and_expect_zero(s, problems):
    s.probe("close")
    rc = s.wait_exit(30)
    log("exit code after WM_CLOSE: %d" % rc)
    expect(problems, rc == 0, "exit code %d after closing the main window, expected 0" % rc)


def update_yes(s, args, problems):
    s.start_portal("--ver", "13")
    s.set_registry_string(VERSION_KEY, "ver", "12")
    s.ensure_registry_key(PLAYER_KEY)
    s.copy_beside_program(args.live_update, "LiveUpdate.exe")
    s.start_program()
    expect_dialog(s, problems, UPDATE_TEXT, IDYES)
    ran = s.wait_for_file("liveupdate-ran.txt", 15)
    rc = s.wait_exit(20)
    with open(ran, encoding="utf-8") as f:
        lines = f.read().splitlines()
    log("LiveUpdate.exe ran as %r; program exit code %d" % (lines, rc))
    expect(problems, len(lines) == 1 and lines[0].split() == ["LiveUpdate.exe", "update"],
           "LiveUpdate.exe command line %r, expected 'LiveUpdate.exe update' once" % lines)
    expect(problems, rc == 0, "exit code %d after the accepted update, expected 0" % rc)


def update_newline(s, args, problems):
    s.start_portal("--ver", r"13\r\n")
    s.set_registry_string(VERSION_KEY, "ver", "12")
    s.ensure_registry_key(PLAYER_KEY)
    s.start_program()
    s.wait_for_requests(["/tavlox/ver.txt"], CHECK_DELAY + SLACK, server="update")
    shown = s.dialog_shown(3000)
    expect(problems, shown is None, "a dialog appeared: %r" % shown)
    close_and_expect_zero(s, problems)


def installer(s, args, problems):
    s.start_portal()
    s.set_registry_string(VERSION_KEY, "ver", "")  # no update check request
    s.ensure_registry_key_absent(PLAYER_KEY)
    s.start_program()
    s.wait_for_requests(PAGE_REQUESTS, SLACK)
    expect_dialog(s, problems, PLAYER_PROMPT, IDYES)
    saved = s.wait_for_file("installer-ran.txt", 30)
    with open(saved, encoding="utf-8") as f:
        runs = f.read().splitlines()
    with open(args.installer, "rb") as f, open(s.file_beside_program("qvod_Setup.exe"), "rb") as g:
        same = f.read() == g.read()
    vendor = [r for r in s.requests() if r.server == "vendor"]
    log("vendor requests: %s; installer ran as %r" % ([r.request_line for r in vendor], runs))
    expect(problems, [r.method for r in vendor] == ["HEAD", "GET"]
           and all(r.path == "/QvodSetup3_blue.exe" for r in vendor),
           "vendor requests %r, expected HEAD then GET of /QvodSetup3_blue.exe" % [r.request_line for r in vendor])
    expect(problems, same, "qvod_Setup.exe differs from the served installer")
    expect(problems, len(runs) == 1 and "qvod_Setup.exe" in runs[0],
           "the saved installer ran as %r, expected once as qvod_Setup.exe" % runs)
    close_and_expect_zero(s, problems)


def installer_fails(mode, expected_methods):
    def case(s, args, problems):
        s.start_portal("--installer-mode", mode)
        s.set_registry_string(VERSION_KEY, "ver", "")
        s.ensure_registry_key_absent(PLAYER_KEY)
        s.start_program()
        s.wait_for_requests(PAGE_REQUESTS, SLACK)
        expect_dialog(s, problems, PLAYER_PROMPT, IDYES)
        expect_dialog(s, problems, DOWNLOAD_FAILED, IDOK)
        vendor = [r for r in s.requests() if r.server == "vendor" and r.path == "/QvodSetup3_blue.exe"]
        expect(problems, [r.method for r in vendor] == expected_methods,
               "installer requests %r, expected %s" % ([r.request_line for r in vendor], expected_methods))
        expect(problems, not os.path.exists(s.file_beside_program("qvod_Setup.exe")),
               "qvod_Setup.exe was written although the download failed")
        close_and_expect_zero(s, problems)
    return case


def exit_cleanup(s, args, problems):
    s.start_portal()
    s.ensure_registry_key(PLAYER_KEY)
    cache = player_cache(s)
    s.set_registry_string(PLAYER_KEY + r"\Option", "defaultsavepath", "Z:" + cache.replace("/", "\\") + "\\")
    names, procs = stand_in_players(s, args)
    s.start_program()
    s.wait_for_requests(PAGE_REQUESTS, SLACK)
    close_and_expect_zero(s, problems)
    expect_cleaned(problems, names, procs, cache)


def stand_in_players(s, args):
    """Two players, the terminal in other letter cases, and a bystander that must survive."""
    names = ["QvodPlayer.exe", "QvodPlayer.exe", "qvodTERMINAL.EXE", "KeepMe.exe"]
    return names, [s.start_helper(args.keeper, os.path.join("p%d" % i, name)) for i, name in enumerate(names)]


def player_cache(s):
    cache = os.path.join(s.work, "cache")
    os.makedirs(os.path.join(cache, "sub"))
    for name in ("a.rmvb", "b.rmvb.!mv", os.path.join("sub", "c.rmvb")):
        with open(os.path.join(cache, name), "wb") as f:
            f.write(b"movie")
    return cache


def expect_cleaned(problems, names, procs, cache):
    deadline = time.monotonic() + 15
    while any(p.poll() is None for p in procs[:3]) and time.monotonic() < deadline:
        time.sleep(0.1)
    ended = [p.poll() is not None for p in procs]
    log("processes ended after the close: %s" % dict(zip(["%s #%d" % (n, i) for i, n in enumerate(names)], ended)))
    expect(problems, ended == [True, True, True, False],
           "player processes ended %s, bystander ended %s; expected all players and not the bystander"
           % (ended[:3], ended[3]))
    left = sorted(os.path.relpath(os.path.join(d, f), cache) for d, _, fs in os.walk(cache) for f in fs)
    log("cache after the close: %s" % left)
    expect(problems, left == ["b.rmvb.!mv", os.path.join("sub", "c.rmvb")],
           "cache holds %s, expected the partial download and the subdirectory's file" % left)


def whole_run(s, args, problems):
    s.start_portal("--ver", "13")
    s.set_registry_string(VERSION_KEY, "ver", "12")
    # The cache setting lives under the player's key, which must stay absent for the prompt: it
    # is written only after the installer ran, and goes again at the end.
    s.ensure_registry_key_absent(PLAYER_KEY)
    cache = player_cache(s)
    s.copy_beside_program(args.live_update, "LiveUpdate.exe")
    names, procs = stand_in_players(s, args)
    s.start_program()
    s.wait_for_requests(PAGE_REQUESTS, SLACK)
    expect_dialog(s, problems, UPDATE_TEXT, IDNO)
    expect_dialog(s, problems, PLAYER_PROMPT, IDYES)
    saved = s.wait_for_file("installer-ran.txt", 30)
    with open(saved, encoding="utf-8") as f:
        runs = f.read().splitlines()
    with open(args.installer, "rb") as f, open(s.file_beside_program("qvod_Setup.exe"), "rb") as g:
        same = f.read() == g.read()
    order = [(r.server, r.method, r.path) for r in s.requests() if r.server in ("update", "vendor")]
    log("update and vendor requests: %s; installer ran as %r" % (order, runs))
    expect(problems, order == [("update", "GET", "/tavlox/ver.txt"), ("vendor", "HEAD", "/QvodSetup3_blue.exe"),
                               ("vendor", "GET", "/QvodSetup3_blue.exe")],
           "requests %r, expected the version file, then HEAD and GET of the installer" % order)
    expect(problems, same, "qvod_Setup.exe differs from the served installer")
    expect(problems, len(runs) == 1 and "qvod_Setup.exe" in runs[0],
           "the saved installer ran as %r, expected once as qvod_Setup.exe" % runs)
    expect(problems, not os.path.exists(s.file_beside_program("liveupdate-ran.txt")),
           "LiveUpdate.exe ran although the offer was declined")
    # The clean-up reads the cache setting when the window closes.
    s.registry_undo.append(["reg", "delete", PLAYER_KEY, "/f"])
    s.wine_run(["reg", "add", PLAYER_KEY + r"\Option", "/v", "defaultsavepath", "/t", "REG_SZ", "/d",
                "Z:" + cache.replace("/", "\\") + "\\", "/f"])
    close_and_expect_zero(s, problems)
    expect_cleaned(problems, names, procs, cache)


def regserver(s, args, problems):
    s.start_portal()
    for switch in ("/REGSERVER", "-regserver"):
        s.start_program(switch)
        rc = s.wait_exit(30)
        log("%s: exit code %d" % (switch, rc))
        expect(problems, rc == 0, "%s ended with exit code %d, expected 0" % (switch, rc))
    expect(problems, s.dialog_shown(500) is None, "a dialog of the program is open")
    content = [r.request_line for r in s.requests() if r.server == "content"]
    expect(problems, content == [], "pages requested, so a window was shown: %s" % content)


CASES = {"update-yes": update_yes, "update-newline": update_newline, "installer": installer,
         "installer-nolen": installer_fails("no-length", ["HEAD"]),
         "installer-cut": installer_fails("truncated", ["HEAD", "GET"]), "exit-cleanup": exit_cleanup,
         "whole-run": whole_run, "regserver": regserver}


def main():
    p = argparse.ArgumentParser()
    p.add_argument("case", choices=sorted(CASES))
    p.add_argument("--program", required=True)
    p.add_argument("--probe", required=True)
    p.add_argument("--portal", required=True)
    p.add_argument("--installer", required=True)
    p.add_argument("--live-update", required=True)
    p.add_argument("--keeper", required=True, help="a program that stays alive until terminated")
    p.add_argument("--out", required=True)
    args = p.parse_args()
    for name in ("program", "probe", "portal", "installer", "live_update", "keeper", "out"):
        setattr(args, name, os.path.abspath(getattr(args, name)))
    problems = []
    try:
        with e2elib.Session(args, args.case) as s:
            CASES[args.case](s, args, problems)
    except (TestFailure, OSError, subprocess.SubprocessError) as e:
        problems.append(str(e))
    if problems:
        log("FAIL: %s:\n  %s" % (args.case, "\n  ".join(problems)))
        return 1
    log("PASS: %s" % args.case)
    return 0


if __name__ == "__main__":
    sys.exit(main())
