"""Window frames, buttons, check box, arrows, path box and progress bar.

Every strip holds its frames side by side in the order the controls index them: normal, hover, down, disabled (the
check box: unchecked, hover, checked). The four frames of a strip are one shape in four moods: hover lighter and
brighter, down darker with an inner shadow (it never moves), disabled flat and muted.
"""
import math

import numpy as np

from canvas import Layer, linear, radial, rgb, rounded_rect
from palette import (ACCENT_A, ACCENT_B, ACCENT_LIGHT, DANGER, DISABLED_EDGE, DISABLED_FILL, DISABLED_TEXT, EDGE,
                     EDGE_ALPHA, LINK, SURFACE, SURFACE_DEEP, SURFACE_TOP, TEXT, WHITE)

NORMAL, HOVER, DOWN, DISABLED = range(4)


def strip(frame_width, height, paint, states):
    """Paints one frame per state and lays them side by side."""
    frames = []
    for state in states:
        layer = Layer(frame_width, height)
        paint(layer.ctx, frame_width, height, state)
        frames.append(layer.pixels())
    return np.concatenate(frames, axis=1)


def single(width, height, paint):
    layer = Layer(width, height)
    paint(layer.ctx, width, height)
    return layer.pixels()


# --- window frames --------------------------------------------------------------------------------------------------

def _window_frame(ctx, w, h, edge_top):
    # The frame is nine-sliced with 10-px corners, so its colours change only between rows 10 and h - 10: the
    # stretched window then shows one smooth gradient and no seam where the slices meet.
    top, bottom = 10.0 / h, 1.0 - 10.0 / h
    rounded_rect(ctx, 0, 0, w, h, 10)
    ctx.set_source(linear(0, 0, 0, h, [(top, SURFACE_TOP, 1), (bottom, SURFACE, 1)]))
    ctx.fill()
    rounded_rect(ctx, 0.5, 0.5, w - 1, h - 1, 9.5)
    ctx.set_line_width(1)
    ctx.set_source(linear(0, 0, 0, h, [(top, edge_top, EDGE_ALPHA), (bottom, EDGE, EDGE_ALPHA * 0.8)]))
    ctx.stroke()


def about_dialog(ctx, w, h):
    _window_frame(ctx, w, h, (112, 92, 206))


def popup_frame(ctx, w, h):
    # The popup sits over the main window: its rim carries a little more of the accent.
    _window_frame(ctx, w, h, (138, 104, 240))


# --- buttons --------------------------------------------------------------------------------------------------------

def _rim_highlight(ctx, w, h, radius, alpha):
    """A 1-px light on the upper rim, fading out down the sides."""
    rounded_rect(ctx, 0.5, 0.5, w - 1, h - 1, radius - 0.5)
    ctx.set_line_width(1)
    ctx.set_source(linear(0, 0, 0, h, [(0, WHITE, alpha), (0.45, WHITE, 0)]))
    ctx.stroke()


def _inner_shadow(ctx, w, h, radius, alpha):
    """The pressed look: the top of the face sinks into shade."""
    ctx.save()
    rounded_rect(ctx, 0, 0, w, h, radius)
    ctx.clip()
    ctx.set_source(linear(0, 0, 0, h, [(0, (0, 0, 0), alpha), (0.35, (0, 0, 0), 0)]))
    ctx.paint()
    ctx.restore()


ACCENT_STATES = {
    NORMAL: dict(fill=(ACCENT_A, ACCENT_B), rim=0.26, glow=0.0, shade=0.0),
    HOVER: dict(fill=((128, 88, 255), (206, 106, 255)), rim=0.50, glow=0.07, shade=0.0),
    DOWN: dict(fill=((80, 46, 198), (138, 54, 206)), rim=0.0, glow=0.0, shade=0.34),
}


def accent_button(radius):
    """The primary action: violet to magenta across the face."""

    def paint(ctx, w, h, state):
        rounded_rect(ctx, 0, 0, w, h, radius)
        if state == DISABLED:
            ctx.set_source(rgb(DISABLED_FILL))
            ctx.fill()
            rounded_rect(ctx, 0.5, 0.5, w - 1, h - 1, radius - 0.5)
            ctx.set_line_width(1)
            ctx.set_source(rgb(DISABLED_EDGE, 0.9))
            ctx.stroke()
            return
        look = ACCENT_STATES[state]
        ctx.set_source(linear(0, 0, w, 0, [(0, look["fill"][0], 1), (1, look["fill"][1], 1)]))
        ctx.fill()
        # One soft gradient: light from above, so the face has a little depth.
        rounded_rect(ctx, 0, 0, w, h, radius)
        ctx.set_source(linear(0, 0, 0, h, [(0, WHITE, 0.10), (0.55, WHITE, 0.0), (1, (0, 0, 0), 0.10)]))
        ctx.fill()
        if look["glow"]:
            ctx.save()
            rounded_rect(ctx, 0, 0, w, h, radius)
            ctx.clip()
            ctx.scale(w / float(h) / 2.0, 1)
            ctx.set_source(radial(h, h * 0.1, h * 1.1, [(0, WHITE, look["glow"]), (1, WHITE, 0)]))
            ctx.paint()
            ctx.restore()
        if look["shade"]:
            _inner_shadow(ctx, w, h, radius, look["shade"])
        if look["rim"]:
            _rim_highlight(ctx, w, h, radius, look["rim"])

    return paint


SECONDARY_STATES = {
    NORMAL: dict(fill=((54, 44, 128), (42, 34, 106)), edge=((118, 100, 214), 0.80), rim=0.10, shade=0.0),
    HOVER: dict(fill=((72, 59, 160), (58, 47, 136)), edge=((168, 146, 255), 0.95), rim=0.16, shade=0.0),
    DOWN: dict(fill=((30, 23, 84), (38, 30, 100)), edge=((136, 104, 255), 0.95), rim=0.0, shade=0.34),
    DISABLED: dict(fill=((36, 30, 84), (36, 30, 84)), edge=((70, 60, 130), 0.45), rim=0.0, shade=0.0),
}


def secondary_button(radius):
    """Every other action: a raised indigo face with a violet rim."""

    def paint(ctx, w, h, state):
        look = SECONDARY_STATES[state]
        rounded_rect(ctx, 0, 0, w, h, radius)
        ctx.set_source(linear(0, 0, 0, h, [(0, look["fill"][0], 1), (1, look["fill"][1], 1)]))
        ctx.fill()
        if look["shade"]:
            _inner_shadow(ctx, w, h, radius, look["shade"])
        rounded_rect(ctx, 0.5, 0.5, w - 1, h - 1, radius - 0.5)
        ctx.set_line_width(1)
        ctx.set_source(rgb(*look["edge"]))
        ctx.stroke()
        if look["rim"]:
            _rim_highlight(ctx, w, h, radius, look["rim"])

    return paint


# --- caption buttons ------------------------------------------------------------------------------------------------

def _caption_button(glyph, pressed_colour, pressed_alpha):
    """Thin white glyphs on a transparent ground; hover lays a faint round halo behind them."""

    def paint(ctx, w, h, state):
        cx, cy = w / 2.0, h / 2.0
        if state == HOVER:
            ctx.arc(cx, cy, 14, 0, 2 * math.pi)
            ctx.set_source(rgb(WHITE, 0.14))
            ctx.fill()
        elif state == DOWN:
            ctx.arc(cx, cy, 14, 0, 2 * math.pi)
            ctx.set_source(rgb(pressed_colour, pressed_alpha))
            ctx.fill()
        colour, alpha = {NORMAL: (TEXT, 0.82), HOVER: (WHITE, 1.0), DOWN: (WHITE, 0.92),
                         DISABLED: (DISABLED_TEXT, 0.45)}[state]
        ctx.set_source(rgb(colour, alpha))
        ctx.set_line_cap(1)  # round
        glyph(ctx, cx, cy)

    return paint


def _cross(ctx, cx, cy):
    arm = 5.0
    ctx.set_line_width(1.6)
    ctx.move_to(cx - arm, cy - arm)
    ctx.line_to(cx + arm, cy + arm)
    ctx.move_to(cx + arm, cy - arm)
    ctx.line_to(cx - arm, cy + arm)
    ctx.stroke()


def _dash(ctx, cx, cy):
    # Two full rows keep the bar crisp; a 1.5-px line would smear over three.
    ctx.set_line_cap(0)
    ctx.set_line_width(2)
    ctx.move_to(cx - 6, cy + 1)
    ctx.line_to(cx + 6, cy + 1)
    ctx.stroke()


close_button = _caption_button(_cross, DANGER, 0.92)
minimise_button = _caption_button(_dash, ACCENT_A, 0.55)


# --- check box and arrows -------------------------------------------------------------------------------------------

UNCHECKED, CHECK_HOVER, CHECKED = range(3)


def checkbox(ctx, w, h, state):
    x, y, s, r = 1.0, 1.0, 14.0, 3.5
    if state == CHECKED:
        rounded_rect(ctx, x, y, s, s, r)
        ctx.set_source(linear(x, y, x + s, y + s, [(0, ACCENT_A, 1), (1, ACCENT_B, 1)]))
        ctx.fill()
        rounded_rect(ctx, x + 0.5, y + 0.5, s - 1, s - 1, r - 0.5)
        ctx.set_line_width(1)
        ctx.set_source(linear(0, y, 0, y + s, [(0, WHITE, 0.35), (0.5, WHITE, 0.0)]))
        ctx.stroke()
        ctx.set_source(rgb(WHITE))
        ctx.set_line_width(1.8)
        ctx.set_line_cap(1)
        ctx.set_line_join(1)
        ctx.move_to(4.6, 8.3)
        ctx.line_to(7.0, 10.7)
        ctx.line_to(11.6, 5.6)
        ctx.stroke()
        return
    hover = state == CHECK_HOVER
    rounded_rect(ctx, x, y, s, s, r)
    ctx.set_source(rgb(ACCENT_A, 0.22) if hover else rgb(SURFACE_DEEP, 0.55))
    ctx.fill()
    rounded_rect(ctx, x + 0.75, y + 0.75, s - 1.5, s - 1.5, r - 0.75)
    ctx.set_line_width(1.5)
    ctx.set_source(rgb((206, 184, 255), 1.0) if hover else rgb((128, 110, 214), 0.95))
    ctx.stroke()


def chevron(pointing_up):
    def paint(ctx, w, h, state):
        colour, alpha = {NORMAL: (LINK, 1.0), HOVER: (WHITE, 1.0), DOWN: (ACCENT_LIGHT, 1.0),
                         DISABLED: (LINK, 0.35)}[state]
        if state == HOVER:
            ctx.arc(w / 2.0, h / 2.0, 7.5, 0, 2 * math.pi)
            ctx.set_source(rgb(WHITE, 0.10))
            ctx.fill()
        elif state == DOWN:
            ctx.arc(w / 2.0, h / 2.0, 7.5, 0, 2 * math.pi)
            ctx.set_source(rgb(ACCENT_A, 0.30))
            ctx.fill()
        ctx.set_source(rgb(colour, alpha))
        ctx.set_line_width(1.6)
        ctx.set_line_cap(1)
        ctx.set_line_join(1)
        tip, base = (5.6, 10.0) if pointing_up else (10.4, 6.0)
        ctx.move_to(4.5, base)
        ctx.line_to(8.0, tip)
        ctx.line_to(11.5, base)
        ctx.stroke()

    return paint


# --- path box and progress ------------------------------------------------------------------------------------------

def input_box(ctx, w, h):
    # Stretched whole over the path box (384 -> 328 px in English), so the corners stay small.
    rounded_rect(ctx, 0, 0, w, h, 6)
    ctx.set_source(linear(0, 0, 0, h, [(0, (13, 9, 44), 1), (1, (17, 13, 54), 1)]))
    ctx.fill()
    ctx.save()
    rounded_rect(ctx, 0, 0, w, h, 6)
    ctx.clip()
    ctx.set_source(linear(0, 0, 0, h, [(0, (0, 0, 0), 0.35), (0.2, (0, 0, 0), 0)]))
    ctx.paint()
    ctx.restore()
    rounded_rect(ctx, 0.5, 0.5, w - 1, h - 1, 5.5)
    ctx.set_line_width(1)
    ctx.set_source(rgb(EDGE, EDGE_ALPHA))
    ctx.stroke()


def progress_bar(ctx, w, h):
    # The bar stretches this image to the filled width (about 2.4 times at a full 607-px bar), so its round ends are
    # drawn narrow here and come out near circular where most of the download is watched.
    ctx.save()
    ctx.scale(0.42, 1)
    sw = w / 0.42
    rounded_rect(ctx, 0, 0, sw, h, h / 2.0)
    ctx.restore()
    ctx.set_source(linear(0, 0, w, 0, [(0, ACCENT_A, 1), (1, ACCENT_B, 1)]))
    ctx.fill_preserve()
    ctx.set_source(linear(0, 0, 0, h, [(0, WHITE, 0.34), (0.5, WHITE, 0.06), (1, (0, 0, 0), 0.12)]))
    ctx.fill()


def light_point(ctx, w, h):
    cx, cy = w / 2.0, h / 2.0
    ctx.save()
    ctx.translate(cx, cy)
    ctx.scale(1.0, h / float(w))
    ctx.set_source(radial(0, 0, w / 2.0, [(0, WHITE, 1.0), (0.12, (246, 232, 255), 0.95), (0.32, ACCENT_B, 0.55),
                                          (0.65, ACCENT_A, 0.16), (1, ACCENT_A, 0.0)]))
    ctx.paint()
    ctx.restore()


def download_point(ctx, w, h):
    # Stored without alpha: the surface colour stands in for transparency.
    ctx.set_source(rgb(SURFACE))
    ctx.paint()
    rounded_rect(ctx, 0, 0, w, h, w / 2.0)
    ctx.set_source(linear(0, 0, 0, h, [(0, ACCENT_B, 1), (1, ACCENT_A, 1)]))
    ctx.fill()
