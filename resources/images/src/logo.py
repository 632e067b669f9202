"""Pindle's mark: a violet-to-magenta rounded square holding a white play sign with a fainter one trailing behind it
(play, and speed). Below 24 px the trailing sign would only blur the main one, so small sizes draw the play sign
alone, snapped to whole pixels."""
from canvas import Layer, fill_rounded, linear, rgb, rounded_rect
from palette import ACCENT_A, ACCENT_B, WHITE


def _triangle(ctx, x, y, s, points, corner):
    ctx.move_to(x + points[0][0] * s, y + points[0][1] * s)
    for px, py in points[1:]:
        ctx.line_to(x + px * s, y + py * s)
    ctx.close_path()
    fill_rounded(ctx, corner)


def mark(ctx, x, y, s):
    """The mark in the square (x, y, s, s)."""
    rounded_rect(ctx, x, y, s, s, s * 0.27)
    ctx.set_source(linear(x, y, x + s, y + s, [(0, ACCENT_A, 1), (1, ACCENT_B, 1)]))
    ctx.fill()
    rounded_rect(ctx, x, y, s, s, s * 0.27)
    ctx.set_source(linear(0, y, 0, y + s, [(0, WHITE, 0.18), (0.5, WHITE, 0.0), (1, (40, 0, 90), 0.12)]))
    ctx.fill()
    if s >= 24:
        rounded_rect(ctx, x + 0.5, y + 0.5, s - 1, s - 1, s * 0.27 - 0.5)
        ctx.set_line_width(1)
        ctx.set_source(linear(0, y, 0, y + s, [(0, WHITE, 0.30), (0.4, WHITE, 0.0)]))
        ctx.stroke()
        ctx.set_source(rgb(WHITE, 0.5))
        _triangle(ctx, x, y, s, [(0.19, 0.31), (0.19, 0.69), (0.47, 0.50)], s * 0.05)
        ctx.set_source(rgb(WHITE))
        _triangle(ctx, x, y, s, [(0.37, 0.26), (0.37, 0.74), (0.78, 0.50)], s * 0.07)
    else:
        # Whole-pixel edges keep the sign sharp at 16 px.
        ctx.set_source(rgb(WHITE))
        k = s / 16.0
        _triangle(ctx, x, y, 1, [(6 * k, 4 * k), (6 * k, 12 * k), (12.5 * k, 8 * k)], 0.8 * k)


def app_logo(ctx, w, h):
    # The version text starts 55 px into the window and the logo element 16 px: the mark sits left in its 40-px box
    # so the product name keeps a clear gap.
    mark(ctx, 5, 6, 28)


def pop_logo(ctx, w, h):
    mark(ctx, 0, 0, 16)


def icon_image(size):
    """One icon size, full bleed."""
    layer = Layer(size, size)
    inset = 0 if size <= 32 else size / 64.0
    mark(layer.ctx, inset, inset, size - 2 * inset)
    return layer.pixels()
