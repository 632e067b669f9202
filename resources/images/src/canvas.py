"""Drawing surfaces for the installer's art.

Shapes are drawn with cairo into premultiplied ARGB surfaces. Soft light (glows, depth of field) needs a blur, which
cairo lacks, so a surface can be turned into a float array, blurred and composited with numpy. Everything is
deterministic: the same sources and library versions give the same bytes.
"""
import math

import cairo
import numpy as np


class Layer:
    """A premultiplied RGBA image (float32, 0..1, shape h x w x 4) with a cairo context to draw into it."""

    def __init__(self, width, height):
        self.width, self.height = width, height
        self.surface = cairo.ImageSurface(cairo.FORMAT_ARGB32, width, height)
        self.ctx = cairo.Context(self.surface)
        self.ctx.set_antialias(cairo.ANTIALIAS_BEST)

    def pixels(self):
        """The drawn pixels as premultiplied RGBA floats."""
        self.surface.flush()
        raw = np.frombuffer(self.surface.get_data(), dtype=np.uint8)
        bgra = raw.reshape(self.height, self.surface.get_stride() // 4, 4)[:, : self.width, :]
        return bgra[:, :, [2, 1, 0, 3]].astype(np.float32) / 255.0


def blank(width, height):
    return np.zeros((height, width, 4), dtype=np.float32)


def over(dst, src, opacity=1.0):
    """Porter-Duff source-over of premultiplied src onto dst, in place."""
    s = src * opacity
    dst *= 1.0 - s[:, :, 3:4]
    dst += s
    return dst


def _box_blur_axis(a, radius, axis):
    if radius < 1:
        return a
    pad = [(0, 0)] * a.ndim
    pad[axis] = (radius + 1, radius)
    padded = np.pad(a, pad, mode="constant")
    summed = np.cumsum(padded, axis=axis, dtype=np.float64)
    n = a.shape[axis]
    hi = np.take(summed, np.arange(2 * radius + 1, 2 * radius + 1 + n), axis=axis)
    lo = np.take(summed, np.arange(0, n), axis=axis)
    return ((hi - lo) / (2 * radius + 1)).astype(np.float32)


def _box_radius(sigma):
    # Box width for three passes that match the Gaussian's variance.
    return int(round((math.sqrt(12.0 * sigma * sigma / 3.0 + 1.0) - 1.0) / 2.0))


def blur(a, sigma, sigma_y=None):
    """Approximate Gaussian blur (three box passes per axis) of a premultiplied image; edges fade to transparent.
    A separate vertical sigma serves pictures drawn stretched."""
    rx, ry = _box_radius(sigma), _box_radius(sigma if sigma_y is None else sigma_y)
    out = a
    for _ in range(3):
        out = _box_blur_axis(out, rx, 1)
        out = _box_blur_axis(out, ry, 0)
    return out


def to_straight_rgba8(a):
    """Premultiplied floats to straight (non-premultiplied) 8-bit RGBA, the way PNG stores pixels."""
    alpha = np.clip(a[:, :, 3:4], 0.0, 1.0)
    safe = np.where(alpha > 0, alpha, 1.0)
    rgb = np.clip(a[:, :, :3] / safe, 0.0, 1.0)
    rgb = np.where(alpha > 0, rgb, 0.0)
    out = np.concatenate([rgb, alpha], axis=2)
    return np.floor(out * 255.0 + 0.5).astype(np.uint8)


def _rgba(colour, alpha):
    r, g, b = colour
    return (r / 255.0, g / 255.0, b / 255.0, alpha)


def rgb(colour, alpha=1.0):
    """A solid cairo source from an 8-bit colour."""
    return cairo.SolidPattern(*_rgba(colour, alpha))


def rounded_rect(ctx, x, y, w, h, r):
    r = min(r, w / 2.0, h / 2.0)
    ctx.new_sub_path()
    ctx.arc(x + w - r, y + r, r, -math.pi / 2, 0)
    ctx.arc(x + w - r, y + h - r, r, 0, math.pi / 2)
    ctx.arc(x + r, y + h - r, r, math.pi / 2, math.pi)
    ctx.arc(x + r, y + r, r, math.pi, 3 * math.pi / 2)
    ctx.close_path()


def fill_rounded(ctx, corner):
    """Fills the current path with its corners rounded by `corner`, in the current source. Fill and stroke are laid
    down as one shape, so a translucent source does not come out brighter where they overlap."""
    ctx.push_group()
    ctx.set_operator(cairo.OPERATOR_SOURCE)
    ctx.set_line_join(cairo.LINE_JOIN_ROUND)
    ctx.set_line_width(corner)
    ctx.fill_preserve()
    ctx.stroke()
    ctx.pop_group_to_source()
    ctx.paint()


def linear(x0, y0, x1, y1, stops):
    """A linear gradient from (offset, colour, alpha) stops."""
    g = cairo.LinearGradient(x0, y0, x1, y1)
    for offset, colour, alpha in stops:
        g.add_color_stop_rgba(offset, *_rgba(colour, alpha))
    return g


def radial(cx, cy, r, stops, r0=0.0):
    g = cairo.RadialGradient(cx, cy, r0, cx, cy, r)
    for offset, colour, alpha in stops:
        g.add_color_stop_rgba(offset, *_rgba(colour, alpha))
    return g
