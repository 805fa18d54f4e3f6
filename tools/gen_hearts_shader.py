#!/usr/bin/env python3
"""Fills the generated parts of the hearts fragment shader
(resources/shaders/hearts.frag, TEXTFILE 136) with the balls' constants.

The fragment shader places 51 balls with a loop over the float i (0, then
1/50 added 50 times in single precision). What depends on i alone, and not on
the pixel or the time, is computed here once, in single precision as the GPU
would compute it, and written into the text as numbers:

  x      = (fract(cos(536.3 i) * 7464.4) - 0.5) * 15      the ball's place across
  offset = sum over the passes up to and including this one of
           fract(sin(i * (536.3, 23.4)) * (764.4, 987.3)) - 0.5
                                                          its turn, less 0.3 t (0.12, 0.18)

Two parts of the text are generated, each between a line ending in
"generated part NAME: begin" and one ending in "generated part NAME: end":

  table  one line per ball: hearts[k] = vec4(x, offset, i);
  meets  one line per three balls, for the test of which balls a ray meets:
         MEETS(vec3(x of k, k+1, k+2), vec3(i of k, k+1, k+2), 2^(16 - k/3))

Everything else in the text is written by hand and left as it is. The text
keeps its CR LF line ends.

Single precision: every operation of the formulas is done in double and
rounded to the nearest float, which for +, -, * and floor gives exactly the
float result; sin and cos are rounded from their double value, which gives
the correctly rounded float value in all but vanishingly rare cases (a GPU's
or a C library's sin and cos may differ from it in the last place).

Usage: gen_hearts_shader.py [OUTPUT]   (default: rewrite the shader in place)
"""
import math
import os
import struct
import sys

SHADER = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "resources", "shaders", "hearts.frag")
NUM_HEARTS = 50.0
BALLS_PER_TEST = 3
BITS_PER_WORD = 17  # 51 balls, three at a time: 17 tests, one bit each in every component


def f32(value):
    """The nearest single-precision float."""
    return struct.unpack("<f", struct.pack("<f", value))[0]


def fract(x):
    return f32(x - math.floor(x))


def balls():
    """(x, offset x, offset y, i) of each pass of the shader's loop, farthest ball first."""
    rows = []
    offset = [0.0, 0.0]
    step = f32(1.0 / NUM_HEARTS)
    i = 0.0
    while i < 1.0:
        x = f32(f32(fract(f32(f32(math.cos(f32(f32(536.3) * i))) * f32(7464.4))) - 0.5) * 15.0)
        for axis, (factor, scale) in enumerate(((536.3, 764.4), (23.4, 987.3))):
            hashed = fract(f32(f32(math.sin(f32(i * f32(factor)))) * f32(scale)))
            offset[axis] = f32(offset[axis] + f32(hashed - 0.5))
        rows.append((x, offset[0], offset[1], i))
        i = f32(i + step)
    return rows


def glsl_float(value):
    """A GLSL float literal that reads back as exactly this float."""
    text = "%.9g" % value
    if "." not in text and "e" not in text:
        text += ".0"
    return text


def vector(values):
    return "vec%d(%s)" % (len(values), ", ".join(glsl_float(v) for v in values))


def table_lines(rows):
    return ["    hearts[%d] = %s;" % (k, vector(row)) for k, row in enumerate(rows)]


def meets_lines(rows):
    lines = []
    for test in range(len(rows) // BALLS_PER_TEST):
        group = rows[test * BALLS_PER_TEST:(test + 1) * BALLS_PER_TEST]
        weight = 2.0 ** (BITS_PER_WORD - 1 - test)
        lines.append("    MEETS(%s, %s, %s)" % (vector([r[0] for r in group]), vector([r[3] for r in group]),
                                                glsl_float(weight)))
    return lines


def fill(text, name, lines):
    """The text with the lines between the markers of part `name` replaced."""
    begin = "generated part %s: begin" % name
    end = "generated part %s: end" % name
    source = text.split("\r\n")
    starts = [n for n, line in enumerate(source) if line.endswith(begin)]
    ends = [n for n, line in enumerate(source) if line.endswith(end)]
    if len(starts) != 1 or len(ends) != 1 or ends[0] < starts[0]:
        raise SystemExit("%s: expected one pair of lines ending in %r and %r" % (SHADER, begin, end))
    return "\r\n".join(source[:starts[0] + 1] + lines + source[ends[0]:])


def main():
    if len(sys.argv) > 2:
        raise SystemExit(__doc__)
    output = sys.argv[1] if len(sys.argv) == 2 else SHADER
    rows = balls()
    if len(rows) % BALLS_PER_TEST or len(rows) // BALLS_PER_TEST != BITS_PER_WORD:
        raise SystemExit("%d balls do not fill %d tests of %d" % (len(rows), BITS_PER_WORD, BALLS_PER_TEST))
    with open(SHADER, "rb") as f:
        text = f.read().decode("ascii")
    text = fill(text, "table", table_lines(rows))
    text = fill(text, "meets", meets_lines(rows))
    os.makedirs(os.path.dirname(os.path.abspath(output)), exist_ok=True)
    with open(output, "wb") as f:
        f.write(text.encode("ascii"))


if __name__ == "__main__":
    main()
