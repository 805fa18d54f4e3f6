"""Glossy red hearts drawn with numpy, for the About picture, the icons and the logo.

A heart is the classic construction: a square turned by 45 degrees with a
half-disc on each of its two upper edges. Its outline comes from the exact
signed distance of that union, so edges are antialiased at any size. The
gloss comes from a puffed-up surface: the heart's coverage blurred with a
Gaussian and lit from the upper left, with a diffuse term and a tight
specular highlight.

Pictures are float32 arrays of shape (rows, columns, 4), rows top-down,
colour premultiplied by alpha, values 0..1.
"""
from collections import namedtuple

import numpy as np

HEART_RED = np.array([0.86, 0.03, 0.05], dtype=np.float32)
HIGHLIGHT = np.array([1.0, 0.93, 0.93], dtype=np.float32)
LIGHT = np.array([-0.45, 0.55, 0.70])
LIGHT = LIGHT / np.linalg.norm(LIGHT)
HALF_VECTOR = (LIGHT + [0.0, 0.0, 1.0]) / np.linalg.norm(LIGHT + [0.0, 0.0, 1.0])

# The construction in its own units: square of side 1 centred at the origin,
# turned by 45 degrees; discs of radius 0.5 on the midpoints of its upper edges.
_HALF_DIAGONAL = np.sqrt(0.5)
_DISC_CENTRE = _HALF_DIAGONAL / 2
_RAW_WIDTH = 2 * (_DISC_CENTRE + 0.5)
_RAW_MIDDLE_Y = ((_DISC_CENTRE + 0.5) - _HALF_DIAGONAL) / 2

# cx, cy: centre in pixels from the left and the top; size: width in pixels;
# angle: turn in degrees, counter-clockwise; blur: width of the soft edge in pixels.
Heart = namedtuple("Heart", "cx cy size angle blur")


def heart_distance(x, y):
    """Signed distance (negative inside) to a heart 1 unit wide, centred on its bounding box, y up."""
    xr = x * _RAW_WIDTH
    yr = y * _RAW_WIDTH + _RAW_MIDDLE_Y
    # The turned square.
    qx = np.abs((xr + yr) * _HALF_DIAGONAL) - 0.5
    qy = np.abs((yr - xr) * _HALF_DIAGONAL) - 0.5
    square = np.hypot(np.maximum(qx, 0), np.maximum(qy, 0)) + np.minimum(np.maximum(qx, qy), 0)
    # The two discs.
    left = np.hypot(xr + _DISC_CENTRE, yr - _DISC_CENTRE) - 0.5
    right = np.hypot(xr - _DISC_CENTRE, yr - _DISC_CENTRE) - 0.5
    return np.minimum(square, np.minimum(left, right)) / _RAW_WIDTH


def gaussian_blur(image, sigma):
    """Gaussian blur through the FFT, with a zero border wide enough that nothing wraps around."""
    pad = int(np.ceil(3 * sigma)) + 1
    padded = np.pad(image, pad)
    fy = np.fft.fftfreq(padded.shape[0])[:, None]
    fx = np.fft.rfftfreq(padded.shape[1])[None, :]
    response = np.exp(-2 * np.pi ** 2 * sigma ** 2 * (fx ** 2 + fy ** 2))
    blurred = np.fft.irfft2(np.fft.rfft2(padded) * response, s=padded.shape)
    return blurred[pad:-pad, pad:-pad]


def _shade(coverage, size):
    """Colour of a heart whose coverage is given on the grid; size is its width in grid cells."""
    height = np.sqrt(np.clip(gaussian_blur(coverage, 0.09 * size), 0, 1))
    slope_rows, slope_columns = np.gradient(height)
    # Slopes per heart width; rows grow downward, the surface's y grows upward.
    steepness = 0.22 * size
    nx = -slope_columns * steepness
    ny = slope_rows * steepness
    length = np.sqrt(nx ** 2 + ny ** 2 + 1)
    diffuse = np.clip((nx * LIGHT[0] + ny * LIGHT[1] + LIGHT[2]) / length, 0, 1)
    specular = np.clip((nx * HALF_VECTOR[0] + ny * HALF_VECTOR[1] + HALF_VECTOR[2]) / length, 0, 1) ** 48
    colour = HEART_RED[None, None, :] * (0.12 + 0.95 * diffuse[..., None]) + HIGHLIGHT * (0.9 * specular[..., None])
    return np.clip(colour, 0, 1).astype(np.float32)


def render(width, height, hearts, supersample=1):
    """Draws the hearts in order (each over the ones before) on a transparent picture."""
    s = supersample
    columns = (np.arange(width * s, dtype=np.float64) + 0.5) / s
    rows = (np.arange(height * s, dtype=np.float64) + 0.5) / s
    grid_x, grid_y = np.meshgrid(columns, rows)
    picture = np.zeros((height * s, width * s, 4), dtype=np.float32)
    for heart in hearts:
        turn = np.radians(heart.angle)
        dx = grid_x - heart.cx
        dy = heart.cy - grid_y
        u = (dx * np.cos(turn) + dy * np.sin(turn)) / heart.size
        v = (-dx * np.sin(turn) + dy * np.cos(turn)) / heart.size
        distance = heart_distance(u, v) * heart.size  # in output pixels
        edge = max(heart.blur, 1.0 / s)
        t = np.clip(0.5 - distance / edge, 0, 1)
        alpha = (t * t * (3 - 2 * t)).astype(np.float32)
        colour = _shade(alpha, heart.size * s)
        picture = picture * (1 - alpha[..., None]) + np.dstack([colour * alpha[..., None], alpha])
    if s > 1:
        picture = picture.reshape(height, s, width, s, 4).mean(axis=(1, 3))
    return picture


def to_bytes_rgba(picture):
    """8-bit straight-alpha RGBA rows, top-down."""
    alpha = picture[..., 3:4]
    straight = np.where(alpha > 0, picture[..., :3] / np.maximum(alpha, 1e-6), 0)
    out = np.dstack([straight, alpha])
    return np.round(np.clip(out, 0, 1) * 255).astype(np.uint8)


def over_black(picture):
    """8-bit RGB rows, top-down: the picture laid on black."""
    return np.round(np.clip(picture[..., :3], 0, 1) * 255).astype(np.uint8)
