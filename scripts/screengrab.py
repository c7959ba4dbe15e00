#!/usr/bin/env python3
"""Takes a screenshot of an X display: the root window's pixels as the screen shows them.

  screengrab.py OUT [--crop L,T,R,B] [--display :N]

OUT ends in ".ppm" for a binary PPM; anything else goes through ImageMagick's convert (PNG).

Why not `xwd -root`: xwd assembles its picture window by window, through each window's visual
and colormap, and under Wine that showed a message box over the main window as a black
rectangle although the frame buffer held it whole. One XGetImage of the root window reads the
frame buffer as it is.
"""

import argparse
import ctypes
import ctypes.util
import os
import subprocess
import sys

ALL_PLANES = 0xFFFFFFFF
Z_PIXMAP = 2
LSB_FIRST = 0


class GrabError(Exception):
    pass


class _XImage(ctypes.Structure):
    # The leading fields of Xlib's XImage, up to the colour masks.
    _fields_ = [("width", ctypes.c_int), ("height", ctypes.c_int), ("xoffset", ctypes.c_int),
                ("format", ctypes.c_int), ("data", ctypes.c_void_p), ("byte_order", ctypes.c_int),
                ("bitmap_unit", ctypes.c_int), ("bitmap_bit_order", ctypes.c_int), ("bitmap_pad", ctypes.c_int),
                ("depth", ctypes.c_int), ("bytes_per_line", ctypes.c_int), ("bits_per_pixel", ctypes.c_int),
                ("red_mask", ctypes.c_ulong), ("green_mask", ctypes.c_ulong), ("blue_mask", ctypes.c_ulong)]


def _xlib():
    name = ctypes.util.find_library("X11")
    if not name:
        raise GrabError("libX11 is not installed")
    x = ctypes.CDLL(name)
    x.XOpenDisplay.restype = ctypes.c_void_p
    x.XOpenDisplay.argtypes = [ctypes.c_char_p]
    x.XDefaultRootWindow.restype = ctypes.c_ulong
    x.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
    x.XDisplayWidth.argtypes = [ctypes.c_void_p, ctypes.c_int]
    x.XDisplayHeight.argtypes = [ctypes.c_void_p, ctypes.c_int]
    x.XGetImage.restype = ctypes.POINTER(_XImage)
    x.XGetImage.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_int, ctypes.c_uint,
                            ctypes.c_uint, ctypes.c_ulong, ctypes.c_int]
    x.XDestroyImage.argtypes = [ctypes.POINTER(_XImage)]
    x.XCloseDisplay.argtypes = [ctypes.c_void_p]
    return x


def grab(display=None):
    """Returns (width, height, RGB bytes, row after row) of the whole screen of `display`
    (default: $DISPLAY)."""
    display = display or os.environ.get("DISPLAY")
    if not display:
        raise GrabError("no X display given and DISPLAY is not set")
    x = _xlib()
    dpy = x.XOpenDisplay(display.encode())
    if not dpy:
        raise GrabError("cannot open the X display %s" % display)
    try:
        width, height = x.XDisplayWidth(dpy, 0), x.XDisplayHeight(dpy, 0)
        image = x.XGetImage(dpy, x.XDefaultRootWindow(dpy), 0, 0, width, height, ALL_PLANES, Z_PIXMAP)
        if not image:
            raise GrabError("XGetImage of the root window of %s failed" % display)
        try:
            im = image.contents
            # The displays we grab (Xvfb, a desktop's X server) keep 24-bit colour in 32-bit
            # little-endian pixels; anything else is refused rather than decoded wrongly.
            if (im.bits_per_pixel != 32 or im.byte_order != LSB_FIRST or im.red_mask != 0xFF0000
                    or im.green_mask != 0xFF00 or im.blue_mask != 0xFF):
                raise GrabError("unsupported pixel layout on %s: %d bits per pixel, byte order %d, masks %x/%x/%x"
                                % (display, im.bits_per_pixel, im.byte_order, im.red_mask, im.green_mask,
                                   im.blue_mask))
            stride = im.bytes_per_line
            raw = ctypes.string_at(im.data, stride * height)
        finally:
            x.XDestroyImage(image)
    finally:
        x.XCloseDisplay(dpy)
    if stride != width * 4:
        raw = b"".join(raw[y * stride:y * stride + width * 4] for y in range(height))
    rgb = bytearray(width * height * 3)
    rgb[0::3] = raw[2::4]
    rgb[1::3] = raw[1::4]
    rgb[2::3] = raw[0::4]
    return width, height, bytes(rgb)


def crop(width, height, rgb, left, top, right, bottom):
    """The part [left, right) x [top, bottom) of an RGB image, clamped to the image."""
    left, top = max(0, left), max(0, top)
    right, bottom = min(width, right), min(height, bottom)
    if right <= left or bottom <= top:
        raise GrabError("the crop %d,%d,%d,%d lies outside the %dx%d screen" % (left, top, right, bottom, width,
                                                                              height))
    rows = [rgb[(y * width + left) * 3:(y * width + right) * 3] for y in range(top, bottom)]
    return right - left, bottom - top, b"".join(rows)


def ppm(width, height, rgb):
    return b"P6\n%d %d\n255\n" % (width, height) + rgb


def save(path, width, height, rgb):
    data = ppm(width, height, rgb)
    if path.endswith(".ppm"):
        with open(path, "wb") as f:
            f.write(data)
    else:
        subprocess.run(["convert", "ppm:-", path], input=data, check=True, timeout=60)


def main():
    p = argparse.ArgumentParser(description="Screenshot of an X display.")
    p.add_argument("out")
    p.add_argument("--crop", help="L,T,R,B in screen coordinates")
    p.add_argument("--display")
    args = p.parse_args()
    try:
        width, height, rgb = grab(args.display)
        if args.crop:
            width, height, rgb = crop(width, height, rgb, *(int(v) for v in args.crop.split(",")))
        save(args.out, width, height, rgb)
    except (GrabError, ValueError, TypeError, OSError, subprocess.SubprocessError) as e:
        print("screengrab: %s" % e, file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
