"""The header pictures: one night scene of violet light with variations, shown behind the top of the main window.

The window draws every header picture into the same 640 x 256 rectangle at (6, 6), fading from one to the next. "APP"
and "INSTALL_BACKUP" are 640 x 256; "APP1" to "APP3" are 640 x 360 and are squeezed into that rectangle, so all of
them are composed in a 640 x 256 design space and the taller ones are drawn stretched to their height: on screen
every circle stays round.

Each picture keeps the same ground (deep indigo, a violet nebula, ribbons of light flowing to the right, a field of
sparks) and changes only its centrepiece: the play sign in a ring, a cloud of app tiles, a game pad, the play sign at
speed, and, for the backup picture, stacked layers of data in a turning arrow. The top band stays dark and calm for the
logo, the product name and the caption buttons; the bottom fades into the window so the panel below continues it.
"""
import math
import random

from canvas import Layer, blank, blur, fill_rounded, linear, over, radial, rgb, rounded_rect
from palette import ACCENT_A, ACCENT_B, ACCENT_LIGHT, SURFACE, SURFACE_DEEP, WHITE

DESIGN_W, DESIGN_H = 640, 256
PLAY_CENTRE = (440, 130)


class Scene:
    def __init__(self, height):
        self.width, self.height = DESIGN_W, height
        self.sy = height / float(DESIGN_H)
        self.pixels = blank(self.width, self.height)

    def layer(self):
        layer = Layer(self.width, self.height)
        layer.ctx.scale(1.0, self.sy)
        return layer

    def add(self, layer, soften=0.0, opacity=1.0):
        """Composites a layer, blurred by `soften` design pixels."""
        pixels = layer.pixels()
        if soften:
            pixels = blur(pixels, soften, soften * self.sy)
        over(self.pixels, pixels, opacity)

    def add_with_glow(self, layer, spread, strength):
        """A layer over a blurred copy of itself: light that seems to shine."""
        pixels = layer.pixels()
        over(self.pixels, blur(pixels, spread, spread * self.sy), strength)
        over(self.pixels, pixels)


# --- the shared ground ----------------------------------------------------------------------------------------------

def _ground(scene, nebulae):
    ground = scene.layer()
    ctx = ground.ctx
    ctx.set_source(linear(0, 0, 0, DESIGN_H, [(0, SURFACE_DEEP, 1), (0.55, (24, 18, 74), 1), (1, SURFACE, 1)]))
    ctx.paint()
    scene.add(ground)
    glow = scene.layer()
    for (cx, cy, rx, ry, colour, alpha) in nebulae:
        ctx = glow.ctx
        ctx.save()
        ctx.translate(cx, cy)
        ctx.scale(rx / float(ry), 1)
        ctx.set_source(radial(0, 0, ry, [(0, colour, alpha), (0.6, colour, alpha * 0.35), (1, colour, 0)]))
        ctx.paint()
        ctx.restore()
    scene.add(glow, soften=8)


def _ribbons(scene, lift, phase):
    """Bands of light sweeping from the lower left up to the right: the sense of flow and speed."""
    layer = scene.layer()
    ctx = layer.ctx
    bands = [
        (150 + lift, 60, 0.34, ACCENT_A, 22),
        (178 + lift, 48, 0.26, ACCENT_B, 16),
        (204 + lift, 36, 0.20, (90, 110, 255), 12),
    ]
    for i, (base, rise, alpha, colour, thickness) in enumerate(bands):
        p = phase + i * 0.9

        def wave(t, offset):
            x = -40 + t * 720
            y = base - rise * t + 16 * math.sin(t * 3.1 + p) + offset
            return x, y

        steps = 48
        ctx.new_path()
        for k in range(steps + 1):
            x, y = wave(k / float(steps), 0)
            ctx.line_to(x, y)
        for k in range(steps, -1, -1):
            t = k / float(steps)
            x, y = wave(t, thickness * (0.35 + 0.65 * math.sin(t * math.pi)))
            ctx.line_to(x, y)
        ctx.close_path()
        ctx.set_source(linear(0, 0, DESIGN_W, 0, [(0, colour, 0), (0.45, colour, alpha * 0.6), (0.8, colour, alpha),
                                                   (1, colour, alpha * 0.5)]))
        ctx.fill()
        # The bright crest of the band.
        ctx.new_path()
        for k in range(steps + 1):
            x, y = wave(k / float(steps), 0)
            ctx.line_to(x, y)
        ctx.set_line_width(1.2)
        ctx.set_source(linear(0, 0, DESIGN_W, 0, [(0, ACCENT_LIGHT, 0), (0.55, ACCENT_LIGHT, alpha * 1.3),
                                                   (0.85, WHITE, alpha * 1.6), (1, WHITE, 0)]))
        ctx.stroke()
    scene.add(layer, soften=0.6)


def _sparks(scene, seed, count=46):
    rng = random.Random(seed)
    layer = scene.layer()
    ctx = layer.ctx
    for _ in range(count):
        x, y = rng.uniform(150, 640), rng.uniform(40, 210)
        r = rng.choice((0.7, 0.9, 1.1, 1.4, 1.8))
        a = rng.uniform(0.25, 0.85)
        ctx.arc(x, y, r, 0, 2 * math.pi)
        ctx.set_source(rgb(rng.choice((WHITE, ACCENT_LIGHT, (230, 170, 255))), a))
        ctx.fill()
    scene.add_with_glow(layer, 2.5, 1.2)


def _streaks(scene, seed, count, reach, alpha):
    """Thin motion lines, slanted slightly upward to the right."""
    rng = random.Random(seed)
    layer = scene.layer()
    ctx = layer.ctx
    for _ in range(count):
        y = rng.uniform(60, 220)
        x1 = rng.uniform(reach[0], reach[1])
        length = rng.uniform(60, 190)
        x0 = x1 - length
        slope = -0.16
        ctx.move_to(x0, y)
        ctx.line_to(x1, y + slope * length)
        ctx.set_line_width(rng.choice((0.8, 1.0, 1.4)))
        ctx.set_source(linear(x0, 0, x1, 0, [(0, ACCENT_LIGHT, 0), (1, WHITE, alpha * rng.uniform(0.5, 1.0))]))
        ctx.set_line_cap(1)
        ctx.stroke()
    scene.add_with_glow(layer, 1.5, 0.8)


def _finish(scene):
    """Rounded top corners that nest inside the window's own, a calm top band, and a bottom that fades out."""
    shade = scene.layer()
    ctx = shade.ctx
    ctx.set_source(linear(0, 0, 0, 70, [(0, (8, 5, 30), 0.55), (1, (8, 5, 30), 0)]))
    ctx.paint()
    ctx.set_source(linear(0, 0, 260, 0, [(0, (8, 5, 30), 0.35), (1, (8, 5, 30), 0)]))
    ctx.paint()
    scene.add(shade)
    mask = scene.layer()
    ctx = mask.ctx
    ctx.new_path()
    r = 4.0
    ctx.move_to(0, DESIGN_H)
    ctx.save()
    ctx.scale(1, 1 / scene.sy)  # pixel units, so the corners stay round in the stored picture
    ctx.line_to(0, r)
    ctx.arc(r, r, r, math.pi, 1.5 * math.pi)
    ctx.arc(DESIGN_W - r, r, r, 1.5 * math.pi, 2 * math.pi)
    ctx.restore()
    ctx.line_to(DESIGN_W, DESIGN_H)
    ctx.close_path()
    ctx.set_source(linear(0, 0, 0, DESIGN_H, [(0, WHITE, 1), (0.74, WHITE, 1), (0.88, WHITE, 0.55), (1, WHITE, 0)]))
    ctx.fill()
    alpha = mask.pixels()[:, :, 3:4]
    scene.pixels *= alpha


# --- centrepieces ---------------------------------------------------------------------------------------------------

def _play_sign(ctx, cx, cy, size):
    """A play triangle with rounded corners, its centroid at (cx, cy)."""
    h = size
    w = h * 0.88
    x0 = cx - w / 3.0
    ctx.move_to(x0, cy - h / 2.0)
    ctx.line_to(x0, cy + h / 2.0)
    ctx.line_to(x0 + w, cy)
    ctx.close_path()


def _glass_tile(ctx, x, y, s, accent=None, glyph=False):
    r = s * 0.26
    rounded_rect(ctx, x, y, s, s, r)
    if accent:
        ctx.set_source(linear(x, y, x + s, y + s, [(0, accent[0], 0.95), (1, accent[1], 0.95)]))
    else:
        ctx.set_source(linear(x, y, x, y + s, [(0, (150, 130, 255), 0.30), (1, (90, 70, 220), 0.10)]))
    ctx.fill()
    rounded_rect(ctx, x + 0.5, y + 0.5, s - 1, s - 1, r - 0.5)
    ctx.set_line_width(1)
    ctx.set_source(linear(x, y, x, y + s, [(0, WHITE, 0.55), (0.6, WHITE, 0.08), (1, WHITE, 0.18)]))
    ctx.stroke()
    if glyph:
        _play_sign(ctx, x + s * 0.52, y + s / 2.0, s * 0.42)
        ctx.set_source(rgb(WHITE, 0.96))
        fill_rounded(ctx, s * 0.06)


def _ring_and_play(scene, centre, radius):
    cx, cy = centre
    halo = scene.layer()
    ctx = halo.ctx
    ctx.arc(cx, cy, radius * 1.5, 0, 2 * math.pi)
    ctx.set_source(radial(cx, cy, radius * 1.5, [(0, ACCENT_B, 0.45), (0.55, ACCENT_A, 0.25), (1, ACCENT_A, 0)]))
    ctx.fill()
    scene.add(halo, soften=6)

    ring = scene.layer()
    ctx = ring.ctx
    ctx.arc(cx, cy, radius, 0, 2 * math.pi)
    ctx.set_source(radial(cx, cy, radius, [(0, (60, 40, 170), 0.0), (0.8, (70, 46, 190), 0.25),
                                           (1, (120, 80, 255), 0.35)]))
    ctx.fill()
    ctx.arc(cx, cy, radius, 0, 2 * math.pi)
    ctx.set_line_width(2.2)
    ctx.set_source(linear(cx - radius, cy - radius, cx + radius, cy + radius,
                          [(0, ACCENT_LIGHT, 0.95), (0.5, ACCENT_B, 0.8), (1, ACCENT_A, 0.5)]))
    ctx.stroke()
    # An outer orbit, broken, as if turning.
    ctx.set_line_width(1.2)
    ctx.set_line_cap(1)
    ctx.arc(cx, cy, radius * 1.28, -2.6, -0.5)
    ctx.set_source(rgb(ACCENT_LIGHT, 0.55))
    ctx.stroke()
    ctx.arc(cx, cy, radius * 1.28, 0.4, 1.5)
    ctx.set_source(rgb(ACCENT_B, 0.45))
    ctx.stroke()
    ctx.arc(cx + radius * 1.28 * math.cos(-0.5), cy + radius * 1.28 * math.sin(-0.5), 2.4, 0, 2 * math.pi)
    ctx.set_source(rgb(WHITE, 0.95))
    ctx.fill()
    scene.add_with_glow(ring, 4, 0.9)

    play = scene.layer()
    ctx = play.ctx
    _play_sign(ctx, cx + 4, cy, radius * 0.95)
    ctx.set_source(linear(cx - radius / 2, cy - radius / 2, cx + radius / 2, cy + radius / 2,
                          [(0, WHITE, 1), (1, (236, 216, 255), 1)]))
    fill_rounded(ctx, radius * 0.16)
    scene.add_with_glow(play, 7, 0.85)


def _tile_cloud(scene, seed, centre, spread, count, hero=True, avoid=None):
    """App tiles floating at several depths; far ones are softer and dimmer. Tiles whose centre falls inside the
    circle `avoid` (x, y, radius) are left out, so a centrepiece stands clear."""
    rng = random.Random(seed)
    cx, cy = centre
    tiles = []
    for _ in range(count):
        depth = rng.uniform(0, 1)
        s = 16 + 30 * depth
        x = cx + rng.uniform(-spread[0], spread[0]) - s / 2
        y = cy + rng.uniform(-spread[1], spread[1]) - s / 2
        # Clear of the caption band at the top, where the name and the window buttons stand.
        y = max(y, 56.0)
        x = min(max(x, 170.0), 624.0 - s)
        if avoid and math.hypot(x + s / 2 - avoid[0], y + s / 2 - avoid[1]) < avoid[2] + s / 2:
            continue
        tiles.append((depth, x, y, s))
    tiles.sort()
    for depth, x, y, s in tiles:
        layer = scene.layer()
        accent = None
        if rng.random() < 0.35:
            accent = rng.choice(((ACCENT_A, ACCENT_B), ((90, 110, 255), ACCENT_A), (ACCENT_B, (255, 120, 200))))
        _glass_tile(layer.ctx, x, y, s, accent=accent, glyph=accent is not None and rng.random() < 0.4)
        scene.add(layer, soften=(1 - depth) * 2.2, opacity=0.45 + 0.55 * depth)
    if hero:
        layer = scene.layer()
        s = 72
        _glass_tile(layer.ctx, cx - s / 2, cy - s / 2, s, accent=(ACCENT_A, ACCENT_B), glyph=True)
        scene.add_with_glow(layer, 9, 0.9)


def _game_pad(scene, centre, width):
    cx, cy = centre
    w = width
    h = w * 0.52
    layer = scene.layer()
    ctx = layer.ctx

    def body():
        ctx.new_path()
        x0, y0 = cx - w / 2, cy - h / 2
        # The body: a wide capsule whose two grips drop below it.
        ctx.move_to(x0 + h * 0.5, y0)
        ctx.line_to(x0 + w - h * 0.5, y0)
        ctx.curve_to(x0 + w - h * 0.05, y0, x0 + w + h * 0.02, y0 + h * 0.45, x0 + w - h * 0.02, y0 + h * 0.82)
        ctx.curve_to(x0 + w - h * 0.06, y0 + h * 1.12, x0 + w - h * 0.42, y0 + h * 1.14, x0 + w - h * 0.56,
                     y0 + h * 0.86)
        ctx.curve_to(x0 + w - h * 0.66, y0 + h * 0.70, x0 + w - h * 0.8, y0 + h * 0.66, cx, y0 + h * 0.66)
        ctx.curve_to(x0 + h * 0.8, y0 + h * 0.66, x0 + h * 0.66, y0 + h * 0.70, x0 + h * 0.56, y0 + h * 0.86)
        ctx.curve_to(x0 + h * 0.42, y0 + h * 1.14, x0 + h * 0.06, y0 + h * 1.12, x0 + h * 0.02, y0 + h * 0.82)
        ctx.curve_to(x0 - h * 0.02, y0 + h * 0.45, x0 + h * 0.05, y0, x0 + h * 0.5, y0)
        ctx.close_path()

    body()
    ctx.set_source(linear(cx, cy - h / 2, cx, cy + h / 2, [(0, (120, 96, 255), 0.42), (1, (80, 50, 210), 0.18)]))
    ctx.fill()
    body()
    ctx.set_line_width(2)
    ctx.set_source(linear(cx - w / 2, 0, cx + w / 2, 0, [(0, ACCENT_LIGHT, 0.9), (1, ACCENT_B, 0.9)]))
    ctx.stroke()
    # Cross pad on the left, four buttons on the right.
    px, py, arm, t = cx - w * 0.28, cy - h * 0.06, h * 0.20, h * 0.085
    ctx.set_source(rgb(WHITE, 0.92))
    rounded_rect(ctx, px - arm, py - t, 2 * arm, 2 * t, t * 0.5)
    ctx.fill()
    rounded_rect(ctx, px - t, py - arm, 2 * t, 2 * arm, t * 0.5)
    ctx.fill()
    bx, by, d, r = cx + w * 0.28, cy - h * 0.06, h * 0.16, h * 0.07
    for (dx, dy, colour) in ((0, -d, ACCENT_LIGHT), (d, 0, (255, 130, 210)), (0, d, WHITE), (-d, 0, (140, 170, 255))):
        ctx.arc(bx + dx, by + dy, r, 0, 2 * math.pi)
        ctx.set_source(rgb(colour, 0.95))
        ctx.fill()
    scene.add_with_glow(layer, 6, 0.9)


def _play_at_speed(scene, centre, size):
    cx, cy = centre
    # The wake: a tapering band of light behind the sign, as a long exposure would leave it.
    trail = scene.layer()
    ctx = trail.ctx
    back = cx - size * 0.30
    ctx.move_to(back, cy - size * 0.5)
    ctx.curve_to(back - 80, cy - size * 0.42, back - 170, cy - size * 0.12, back - 240, cy - 2)
    ctx.line_to(back - 240, cy + 2)
    ctx.curve_to(back - 170, cy + size * 0.12, back - 80, cy + size * 0.42, back, cy + size * 0.5)
    ctx.close_path()
    ctx.set_source(linear(back - 240, 0, back, 0, [(0, ACCENT_A, 0), (0.6, ACCENT_A, 0.30), (1, ACCENT_B, 0.60)]))
    ctx.fill()
    scene.add(trail, soften=5)
    # Speed lines leaving the sign's back edge: uneven in length and weight, brightest where they touch it.
    rng = random.Random(int(cx))
    lines = scene.layer()
    ctx = lines.ctx
    for k in range(7):
        y = cy + (k - 3) * size * 0.13 + rng.uniform(-3, 3)
        length = rng.uniform(110, 230) * (1.0 - abs(k - 3) * 0.12)
        x1 = cx - size * 0.28
        ctx.move_to(x1 - length, y)
        ctx.line_to(x1, y)
        ctx.set_line_width(rng.choice((1.0, 1.4, 2.0)))
        ctx.set_line_cap(1)
        ctx.set_source(linear(x1 - length, 0, x1, 0, [(0, ACCENT_LIGHT, 0), (1, WHITE, rng.uniform(0.35, 0.6))]))
        ctx.stroke()
    scene.add_with_glow(lines, 2, 0.8)
    play = scene.layer()
    ctx = play.ctx
    _play_sign(ctx, cx, cy, size)
    ctx.set_source(linear(cx - size / 2, cy - size / 2, cx + size / 2, cy + size / 2,
                          [(0, WHITE, 1), (1, (236, 216, 255), 1)]))
    fill_rounded(ctx, size * 0.16)
    scene.add_with_glow(play, 8, 1.0)


def _data_layers(scene, centre, width):
    """Three stacked slabs seen from above, inside a turning arrow: the user's data kept safe."""
    cx, cy = centre
    layer = scene.layer()
    ctx = layer.ctx
    for i, alpha in ((0, 0.5), (1, 0.75), (2, 1.0)):  # bottom slab first: the top one lies in front
        y = cy + 16 - i * 18
        hw, hh = width / 2.0, width / 4.2

        def slab():
            ctx.new_path()
            ctx.move_to(cx, y - hh)
            ctx.line_to(cx + hw, y)
            ctx.line_to(cx, y + hh)
            ctx.line_to(cx - hw, y)
            ctx.close_path()

        slab()
        ctx.set_source(linear(cx - hw, y - hh, cx + hw, y + hh,
                              [(0, ACCENT_A, 0.85 * alpha), (1, ACCENT_B, 0.85 * alpha)]))
        fill_rounded(ctx, 5)
        slab()
        ctx.set_line_width(1.2)
        ctx.set_source(rgb(WHITE, 0.55 * alpha))
        ctx.stroke()
    radius = width * 0.92
    ctx.set_line_width(2.2)
    ctx.set_line_cap(1)
    ctx.arc(cx, cy, radius, math.pi * 0.95, math.pi * 2.55)
    ctx.set_source(linear(cx - radius, cy, cx + radius, cy, [(0, ACCENT_LIGHT, 0.45), (1, ACCENT_LIGHT, 0.95)]))
    ctx.stroke()
    end = math.pi * 2.55
    ex, ey = cx + radius * math.cos(end), cy + radius * math.sin(end)
    tangent = end + math.pi / 2
    head = 11
    ctx.move_to(ex + head * math.cos(tangent), ey + head * math.sin(tangent))
    ctx.line_to(ex + head * math.cos(tangent - 2.5), ey + head * math.sin(tangent - 2.5))
    ctx.line_to(ex + head * math.cos(tangent + 2.5), ey + head * math.sin(tangent + 2.5))
    ctx.close_path()
    ctx.set_source(rgb(ACCENT_LIGHT, 0.95))
    fill_rounded(ctx, 2)
    scene.add_with_glow(layer, 7, 0.9)


# --- the pictures ---------------------------------------------------------------------------------------------------

NEBULA = [(430, 120, 230, 120, ACCENT_A, 0.55), (560, 60, 140, 90, ACCENT_B, 0.38),
          (170, 200, 200, 90, (64, 64, 210), 0.30)]


def _picture(height, nebulae, ribbons, seed, centrepiece):
    scene = Scene(height)
    _ground(scene, nebulae)
    _ribbons(scene, *ribbons)
    _sparks(scene, seed)
    centrepiece(scene)
    _finish(scene)
    return scene.pixels


def app(width, height):
    def centrepiece(scene):
        _tile_cloud(scene, 14, (430, 128), (190, 72), 14, hero=False, avoid=(440, 130, 72))
        _streaks(scene, 12, 10, (250, 360), 0.5)
        _ring_and_play(scene, PLAY_CENTRE, 52)

    return _picture(height, NEBULA, (0, 0.0), 1, centrepiece)


def app1(width, height):
    def centrepiece(scene):
        _streaks(scene, 22, 8, (220, 330), 0.45)
        _tile_cloud(scene, 21, (440, 126), (170, 66), 20, hero=True, avoid=(440, 126, 50))

    nebulae = [(460, 110, 220, 120, ACCENT_A, 0.55), (300, 70, 140, 80, ACCENT_B, 0.30),
               (600, 190, 160, 80, (64, 64, 210), 0.35)]
    return _picture(height, nebulae, (6, 1.4), 2, centrepiece)


def app2(width, height):
    def centrepiece(scene):
        _tile_cloud(scene, 31, (440, 130), (180, 76), 10, hero=False, avoid=(440, 124, 96))
        _game_pad(scene, (440, 124), 170)

    nebulae = [(420, 130, 240, 120, ACCENT_A, 0.5), (580, 80, 150, 90, (255, 110, 210), 0.30),
               (200, 190, 200, 90, (64, 64, 210), 0.32)]
    return _picture(height, nebulae, (-4, 2.6), 3, centrepiece)


def app3(width, height):
    def centrepiece(scene):
        _streaks(scene, 42, 18, (260, 560), 0.6)
        _play_at_speed(scene, (470, 126), 84)

    nebulae = [(470, 120, 240, 110, ACCENT_B, 0.45), (330, 150, 200, 90, ACCENT_A, 0.45),
               (590, 50, 120, 70, (110, 130, 255), 0.30)]
    return _picture(height, nebulae, (10, 4.0), 4, centrepiece)


def install_backup(width, height):
    def centrepiece(scene):
        _streaks(scene, 52, 6, (220, 330), 0.35)
        _data_layers(scene, (440, 128), 92)

    return _picture(height, NEBULA, (4, 0.7), 5, centrepiece)
