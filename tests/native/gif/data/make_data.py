#!/usr/bin/python3
"""Makes the GIF files of the decoder tests with ImageMagick and gifsicle, and
for each NAME.gif the reference NAME.ref decoded by Pillow (one file by
ImageMagick, see coalesced_frames): three 32-bit
little-endian numbers (frame count, width, height), then every frame's
composite as RGBA bytes, top row first.

Run with the system Python (Pillow from python3-pil): /usr/bin/python3 make_data.py
"""
import os
import struct
import subprocess
import tempfile

from PIL import Image

HERE = os.path.dirname(os.path.abspath(__file__))
CONVERT = "/usr/bin/convert"


def run(*args):
    subprocess.run([str(a) for a in args], check=True)


def frame(tmp, name, size, color, draw=()):
    """A small picture made by ImageMagick: a plain colour and some shapes."""
    path = os.path.join(tmp, name)
    args = [CONVERT, "-size", size, "xc:" + color]
    for fill, shape in draw:
        args += ["-fill", fill, "-draw", shape]
    run(*args, "+dither", "-colors", "16", path)
    return path


def pillow_frames(gif):
    im = Image.open(gif)
    for i in range(getattr(im, "n_frames", 1)):
        im.seek(i)
        yield im.convert("RGBA")


def coalesced_frames(gif):
    """ImageMagick's composites. Pillow, on a picture without an alpha
    channel, leaves the old pixels where a frame of disposal 2 was; the
    format says the area goes back to the background, which ImageMagick
    (like us) makes transparent."""
    with tempfile.TemporaryDirectory() as tmp:
        run(CONVERT, gif, "-coalesce", os.path.join(tmp, "f%03d.png"))
        for name in sorted(os.listdir(tmp)):
            yield Image.open(os.path.join(tmp, name)).convert("RGBA")


def reference(gif, frames):
    frames = list(frames)
    with open(gif[:-4] + ".ref", "wb") as out:
        out.write(struct.pack("<III", len(frames), frames[0].size[0], frames[0].size[1]))
        for f in frames:
            out.write(f.tobytes())


def main():
    out = lambda name: os.path.join(HERE, name)
    with tempfile.TemporaryDirectory() as tmp:
        red = frame(tmp, "red.gif", "24x16", "red", [("yellow", "rectangle 2,2 9,7")])
        green = frame(tmp, "green.gif", "24x16", "green", [("white", "circle 12,8 12,12")])
        blue = frame(tmp, "blue.gif", "24x16", "navy", [("orange", "line 0,0 23,15")])

        # ImageMagick: loop count 0, delays of 50 hundredths.
        run(CONVERT, "-delay", "50", "-loop", "0", red, green, blue, out("loop0_delay50.gif"))
        # gifsicle: loop count 3, delays of 0.
        run("gifsicle", "--loopcount=3", "--delay=0", red, green, blue, "-o", out("loop3_delay0.gif"))
        # gifsicle: no loop block at all.
        run("gifsicle", "--delay=10", red, green, "-o", out("no_loop.gif"))

        # Disposal 0 to 3 over a full first frame, small frames with a
        # transparent colour (white) at different places.
        back = frame(tmp, "back.gif", "32x24", "gray40", [("teal", "rectangle 0,12 31,23")])
        spot = frame(tmp, "spot.gif", "8x8", "white", [("red", "rectangle 1,1 6,6")])
        ring = frame(tmp, "ring.gif", "8x8", "white", [("blue", "circle 4,4 4,1")])
        run("gifsicle", "--loopcount=0", "--delay=5",
            "--disposal=none", back,
            "--transparent=#FFFFFF",
            "--disposal=background", "-p", "2,2", spot,
            "--disposal=previous", "-p", "12,4", ring,
            "--disposal=asis", "-p", "20,10", spot,
            "--disposal=none", "-p", "6,14", ring,
            "--disposal=background", "-p", "14,6", spot,
            "-o", out("disposal.gif"))

        # Interlaced, 19 rows so that every pass is short of a full block.
        run(CONVERT, "-size", "21x19", "gradient:red-blue", "-interlace", "GIF", out("interlaced.gif"))
        # gifsicle's interlaced animation of the three frames.
        run("gifsicle", "-i", "--delay=20", red, green, blue, "-o", out("interlaced_anim.gif"))

        # Local colour tables: ImageMagick gives frames of other colours their own.
        warm = frame(tmp, "warm.gif", "24x16", "gold", [("brown", "rectangle 3,3 20,12")])
        cold = frame(tmp, "cold.gif", "24x16", "cyan", [("purple", "rectangle 5,1 10,14")])
        run(CONVERT, "-delay", "0", warm, cold, out("local_tables.gif"))

        # Noise with 256 colours fills the LZW table: 12-bit codes and clear codes.
        run(CONVERT, "-size", "96x64", "plasma:fractal", "-seed", "7", "+noise", "Random",
            "-colors", "256", out("noise256.gif"))

        # A first frame with transparent pixels.
        run(CONVERT, "-size", "20x20", "xc:none", "-fill", "magenta", "-draw", "circle 10,10 10,3",
            out("transparent_first.gif"))

        # 300 images of 4 x 4.
        cells = []
        for i in range(300):
            color = "rgb(%d,%d,%d)" % (i % 256, (i * 7) % 256, 255 - i % 256)
            cells += ["-size", "4x4", "xc:" + color]
        run(CONVERT, "-delay", "1", *cells, out("frames300.gif"))

    for name in sorted(os.listdir(HERE)):
        if name.endswith(".gif"):
            gif = os.path.join(HERE, name)
            reference(gif, coalesced_frames(gif) if name == "disposal.gif" else pillow_frames(gif))


if __name__ == "__main__":
    main()
