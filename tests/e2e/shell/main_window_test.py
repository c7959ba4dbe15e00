#!/usr/bin/env python3
"""End to end: start the real program under Wine against the demo portal, wait for the four
page requests of the first show, check the main window's layout on a screenshot, close the
window and expect exit code 0. With --smoke only the requests and the close are checked; with
--maximized the program is started maximised and must fill the work area with the same layout.
With --minimized it is started minimised: only its taskbar button shows (the application's window,
minimised, titled with the application title) and no page is requested, until the button is
clicked; then the main window shows, centred, and the four pages are requested.

Positions are relative to the main window's client area (966 x 574 as designed). Two checks:
  - geometry: every control of the window is a child window; their rectangles must be those the
    form's table and alignment give for the client size, also after growing the window;
  - pixels, on a screenshot: side panel 221 wide, the menu pane 219 wide, then a 2-pixel
    sky-blue strip (gap x=219, bar x=220); the status-bar pane from x 697. While the skinned
    controls draw their default looks (no skin loaded) also: the right-hand panel framed in the
    button shadow colour with a 20-pixel framed strip at y 61..80 below the 60-pixel top bar; the
    status bar band 21 high with three framed status panels 120, 153 and 696 wide (borders at
    x 0/119, 120/272, 273), the first showing its caption, the second its link in blue.
With the skin loaded the status bar is 23 high, its panels 22 high from its y 1, and the
right-hand panel's children sit inside the skin's 2-pixel client margin; the test accepts
either state, chosen by the status bar's height, and checks it completely.
"""

import argparse
import subprocess
import os
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
import e2elib  # noqa: E402
from e2elib import PAGE_REQUESTS, TestFailure, log  # noqa: E402

CLIENT_W, CLIENT_H = 966, 574
SKY_BLUE = (166, 202, 240)
CAPTION = "桌面栎岚电影院V 1.0"
STATUS_BAR_H = 21  # the form's height; the skin would make it 23
RESIZE = (200, 120)


def looks(skinned):
    """Status bar height, status panels' top in the bar and height, and the right-hand panel's
    client margin: default looks, or the shipped skin's records."""
    return (23, 1, 22, 2) if skinned else (STATUS_BAR_H, 0, STATUS_BAR_H, 1)


def expected_geometry(w, h, skinned):
    """(name, window kind, (left, top, width, height)) of every control, in client coordinates."""
    bar_h, panel_top, panel_h, margin = looks(skinned)
    bar_top = h - bar_h
    inner_x, inner_w = 221 + margin, w - 221 - 2 * margin
    control, pane = "TavloxControl", "Shell Embedding"
    return [
        ("skstatusbar1", control, (0, bar_top, w, bar_h)),
        ("skstatuspanel1", control, (0, bar_top + panel_top, 120, panel_h)),
        ("skstatuspanel2", control, (120, bar_top + panel_top, 153, panel_h)),
        ("skstatuspanel3", control, (273, bar_top + panel_top, 696, panel_h)),
        ("wb2", pane, (697, bar_top + 1, 280, 20)),
        ("sizepnl1", control, (0, 0, 221, bar_top)),
        ("wb1", pane, (0, 0, 219, bar_top)),
        ("skpanel1", control, (221, 0, w - 221, bar_top)),
        ("pnl1", control, (inner_x, margin, inner_w, 60)),
        ("wb3", pane, (inner_x + 1, margin + 1, inner_w - 2, 58)),
        ("skpanel2", control, (inner_x, margin + 60, inner_w, 20)),
        ("extwb1", pane, (inner_x, margin + 80, inner_w, bar_top - 2 * margin - 80)),
    ]


def check_geometry(children, w, h):
    """Returns (skinned, problems): the look is chosen by the status bar's height."""
    skinned = any(c["rect"] == (0, h - 23, w, 23) for c in children)
    problems = []
    for name, kind, rect in expected_geometry(w, h, skinned):
        if not any(c["class"] == kind and c["rect"] == rect and c["visible"] for c in children):
            near = [c["rect"] for c in children if c["class"] == kind]
            problems.append("%s: no visible %s window at %s; %s windows are at %s" % (name, kind, rect, kind, near))
    log("geometry (%s, client %dx%d): %s" % ("skinned" if skinned else "default looks", w, h,
                                             "as designed" if not problems else "%d differences" % len(problems)))
    return skinned, problems


def hline(x0, x1, y):
    return [(x, y) for x in range(x0, x1 + 1)]


def vline(x, y0, y1):
    return [(x, y) for y in range(y0, y1 + 1)]


def rect_outline(left, top, width, height):
    r, b = left + width - 1, top + height - 1
    return hline(left, r, top) + hline(left, r, b) + vline(left, top, b) + vline(r, top, b)


def is_blue(p):
    return p[2] >= 160 and p[0] <= 100 and p[1] <= 100 and p[2] - max(p[0], p[1]) >= 100


def is_dark(p):
    return max(p) <= 100


def layout_checks(colours, w, h, skinned):
    """The checks for a client area w x h. (what, points, rule, expected): `expected` is a
    colour or a test of a pixel; rule "all" wants it for every point, rule "any" for one."""
    shadow, face = colours["btnshadow"], colours["btnface"]
    bar_top = h - looks(skinned)[0]            # 553 as designed, with default looks
    right_panel_x = 221                        # skpanel1, right of the 221-wide side panel
    inner_x, inner_w = right_panel_x + 1, w - right_panel_x - 2  # children of skpanel1
    pane_right = min(697 + 280, w) - 1         # the status-bar pane is 280 wide
    checks = [
        ("sky-blue strip at x 219-220 along the side panel",
         vline(219, 0, bar_top - 1) + vline(220, 0, bar_top - 1), "all", SKY_BLUE),
        # Wine paints a pane without a document white: the panel colour must not show at the
        # menu pane's edges, nor the status panel's face where the status-bar pane lies.
        ("menu pane covers x 0-218",
         vline(0, 0, bar_top - 1) + vline(218, 0, bar_top - 1), "all", lambda p: p != SKY_BLUE),
        ("status-bar pane covers x 697-%d of the band" % pane_right,
         vline(697, bar_top + 1, bar_top + 20) + vline(pane_right, bar_top + 1, bar_top + 20), "all",
         lambda p: p != face and p != shadow),
    ]
    if skinned:
        return checks  # the skin's pictures are the skin's tests' business
    checks += [
        ("status-bar pane starts at x 697 (status panel 3's face up to x 696)",
         vline(696, bar_top + 1, h - 2), "all", face),
        ("frame of the right-hand panel (221,0 %dx%d)" % (w - right_panel_x, bar_top),
         rect_outline(right_panel_x, 0, w - right_panel_x, bar_top), "all", shadow),
        ("frame of the strip below the top bar (222,61 %dx20)" % inner_w,
         rect_outline(inner_x, 61, inner_w, 20), "all", shadow),
        ("frame of status panel 1 (0,%d 120x21)" % bar_top, rect_outline(0, bar_top, 120, STATUS_BAR_H),
         "all", shadow),
        ("frame of status panel 2 (120,%d 153x21)" % bar_top, rect_outline(120, bar_top, 153, STATUS_BAR_H),
         "all", shadow),
        ("left, top and bottom edges of status panel 3 (273,%d), up to the status-bar pane at 697" % bar_top,
         vline(273, bar_top, h - 1) + hline(273, 696, bar_top) + hline(273, 696, h - 1), "all", shadow),
        ("caption of status panel 1 is drawn",
         [(x, y) for x in range(3, 117) for y in range(bar_top + 2, h - 2)], "any", is_dark),
        ("link text of status panel 2 is drawn in blue",
         [(x, y) for x in range(123, 270) for y in range(bar_top + 2, h - 2)], "any", is_blue),
    ]
    if w > 273 + 696 + 1:
        # Wider than the three panels: the bar's own face shows right of panel 3's frame.
        checks.append(("status bar face right of the panels (x %d-%d)" % (273 + 696, w - 1),
                       [(x, bar_top + 10) for x in range(max(273 + 696, pane_right + 1), w)], "all", face))
    return checks


def check_layout(s, window, name):
    """Geometry of the child windows, then the pixels of a screenshot."""
    cx, cy, cw, ch = window["client"]
    skinned, problems = check_geometry(s.children(), cw, ch)
    return problems + check_pixels(s, window, name, skinned)


def check_pixels(s, window, name, skinned):
    """Screenshots the window until its layout checks pass (painting may still be under way)
    or 10 s have gone; returns the failures of the last look."""
    cx, cy, cw, ch = window["client"]
    checks = layout_checks(window, cw, ch, skinned)
    deadline = time.monotonic() + 10
    looks_taken = 0
    while True:
        looks_taken += 1
        image = s.screenshot(name)
        failures = evaluate(image, (cx, cy), checks)
        if not failures or time.monotonic() >= deadline:
            break
        time.sleep(0.5)
    log("screenshot: %s (client %dx%d at %d,%d; %d look%s)" % (image.path, cw, ch, cx, cy, looks_taken,
                                                               "s" if looks_taken > 1 else ""))
    for what, *_ in checks:
        log("  %s: %s" % ("FAIL" if any(f.startswith(what + ":") for f in failures) else "PASS", what))
    return failures


def evaluate(image, origin, checks):
    ox, oy = origin
    failures = []
    for what, points, rule, expected in checks:
        ok = expected if callable(expected) else (lambda p, want=tuple(expected): p == want)
        if rule == "all":
            wrong = [(x, y, image.pixel(ox + x, oy + y)) for x, y in points
                     if not ok(image.pixel(ox + x, oy + y))]
            if wrong:
                failures.append("%s: %d of %d pixels differ%s, e.g. %s" % (
                    what, len(wrong), len(points), "" if callable(expected) else " from %s" % (tuple(expected),),
                    ", ".join("(%d,%d)=%s" % w for w in wrong[:4])))
        elif not any(ok(image.pixel(ox + x, oy + y)) for x, y in points):
            failures.append("%s: no such pixel found" % what)
    return failures


APP_TITLE = "栎岚电影院"
MINIMIZED_WAIT = 3.0  # how long the minimised program must keep its pages unrequested


def restore_from_taskbar(s):
    """A minimised start: the taskbar button and nothing else, no page requested; then the click
    on the button (SC_RESTORE to its window)."""
    facts = dict(item.split("=", 1) for item in s.probe("taskbar").split(" ", 2))
    log("taskbar window after a minimised start: %s" % facts)
    problems = []
    if facts.get("iconic") != "1" or facts.get("caption") != APP_TITLE:
        problems.append("taskbar window %s, expected a minimised window titled %r" % (facts, APP_TITLE))
    time.sleep(MINIMIZED_WAIT)
    s.check_running("while minimised")
    early = [r.path for r in s.requests() if r.server == "content"]
    if early:
        problems.append("pages requested while the program was minimised: %s" % early)
    if s.wine_run([s.args.probe, "find", "tavlox.exe", "0"], check=False).returncode == 0:
        problems.append("a window of the program shows on the desktop while it is minimised")
    shown = s.dialog_shown(0)
    if shown:
        problems.append("a dialog shows while the program is minimised: %s" % shown)
    s.started = time.time()  # the pages are timed from the click
    s.probe("restore")
    return problems


def run(args):
    name = "main_window_maximized" if args.maximized else "main_window_minimized" if args.minimized else "main_window"
    with e2elib.Session(args, name) as s:
        s.start_portal()
        # With the player's key present and no installed version the start-up checks ask
        # nothing, so no dialog can cover the window or hold up the close on a slow machine.
        s.ensure_registry_key(r"HKCU\Software\QvodPlayer")
        s.set_registry_string(r"HKLM\Software\kqtavlox", "ver", "")
        s.start_program(maximized=args.maximized, minimized=args.minimized)
        early_problems = restore_from_taskbar(s) if args.minimized else []

        requests = s.wait_for_requests(PAGE_REQUESTS, timeout=45)
        fourth = max(r.time for r in requests)
        log("start to the fourth page request: %.2f s (%s)" % (
            fourth - s.started, ", ".join("%s +%.2f s" % (r.path, r.time - s.started) for r in requests)))

        if args.smoke:
            s.probe("close")
            rc = s.wait_exit(30)
            log("exit code after WM_CLOSE: %d" % rc)
            if rc != 0:
                raise TestFailure("exit code %d after closing the main window, expected 0" % rc)
            return

        window = s.find_main_window()
        log("main window: %s" % window)
        problems = early_problems
        if window["caption"] != CAPTION:
            problems.append("caption %r, expected %r" % (window["caption"], CAPTION))
        cx, cy, cw, ch = window["client"]
        left, top, right, bottom = window["window"]
        sw, sh = window["screen"]
        if args.maximized:
            # Maximised: the window covers the work area, and the layout follows the client size.
            wl, wt, wr, wb = window["workarea"]
            if not (left <= wl and top <= wt and right >= wr and bottom >= wb and cw == wr - wl):
                problems.append("window %s with client %dx%d does not fill the work area %s" % (
                    window["window"], cw, ch, window["workarea"]))
            problems += check_layout(s, window, "main_window_maximized")
        else:
            if (cw, ch) != (CLIENT_W, CLIENT_H):
                raise TestFailure("client area %dx%d, expected %dx%d" % (cw, ch, CLIENT_W, CLIENT_H))
            if abs(left - (sw - (right - left)) // 2) > 1 or abs(top - (sh - (bottom - top)) // 2) > 1:
                problems.append("window %s is not centred on the %dx%d desktop" % (window["window"], sw, sh))

            problems += check_layout(s, window, "main_window")

            # Resized: the docked controls follow, the status-bar pane and the panels keep their
            # places and widths.
            s.probe("resize", extra=["%d" % RESIZE[0], "%d" % RESIZE[1]])
            resized = s.find_main_window()
            if resized["client"][2:] != (CLIENT_W + RESIZE[0], CLIENT_H + RESIZE[1]):
                problems.append("client area %s after growing the window by %s" % (resized["client"][2:], RESIZE))
            else:
                problems += check_layout(s, resized, "main_window_resized")

        s.probe("close")
        rc = s.wait_exit(30)
        log("exit code after WM_CLOSE: %d" % rc)
        if rc != 0:
            problems.append("exit code %d after closing the main window, expected 0" % rc)
        if problems:
            raise TestFailure("\n  ".join(["layout or shutdown differs:"] + problems))


def main():
    p = argparse.ArgumentParser()
    p.add_argument("--program", required=True, help="tavlox.exe (64-bit build)")
    p.add_argument("--probe", required=True, help="window_probe.exe")
    p.add_argument("--portal", required=True, help="tools/demo-portal/portal.py")
    p.add_argument("--installer", help="the demo installer the portal serves")
    p.add_argument("--out", required=True, help="folder for the screenshot and logs")
    p.add_argument("--wine", help="Wine loader (default $WINE64)")
    p.add_argument("--maximized", action="store_true",
                   help="start the program maximised (SW_SHOWMAXIMIZED), as a shortcut may")
    p.add_argument("--minimized", action="store_true",
                   help="start the program minimised (SW_SHOWMINNOACTIVE), as a shortcut may")
    p.add_argument("--smoke", action="store_true",
                   help="only the four page requests and the close, no screenshot")
    args = p.parse_args()
    for name in ("program", "probe", "portal", "installer", "out"):
        if getattr(args, name):
            setattr(args, name, os.path.abspath(getattr(args, name)))
    try:
        run(args)
    except (TestFailure, OSError, subprocess.SubprocessError) as e:
        log("FAIL: %s" % e)
        return 1
    log("PASS: main window end to end%s" % (" (smoke)" if args.smoke else ""))
    return 0


if __name__ == "__main__":
    sys.exit(main())
