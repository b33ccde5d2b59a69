"""qvimage.exe under Wine: every command and exit code, the "no file left
behind" rule, PCX files written by ImageMagick read back as ImageMagick reads
them, GIF files read back by Pillow, and gifsicle's animations taken apart
into the frames Pillow composes.

Usage: qvimage_test.py WINE-RUN QVIMAGE.EXE
"""
import json
import os
import random
import subprocess
import sys
import tempfile
import unittest

from PIL import Image

WINE_RUN, QVIMAGE = sys.argv[1], sys.argv[2]
VIEWER_COMMENT = b"Quarvel v1.01\r\n\r\nCapcom System One Game Snapshot"


def win(path):
    return "Z:" + path.replace("/", "\\")


def qvimage(*args):
    """Runs qvimage with its path arguments given as Unix paths."""
    converted = [win(a) if a.startswith("/") else a for a in args]
    done = subprocess.run([WINE_RUN, QVIMAGE, *converted], capture_output=True, timeout=60)
    return done.returncode, done.stderr.decode("latin-1").strip()


def magick(*args):
    subprocess.run(["convert", *args], check=True)


def rgb_of(path):
    with Image.open(path) as image:
        return image.convert("RGB").size, list(image.convert("RGB").getdata())


def gif_layout(path):
    """The first image's interlace flag and the closing comment's 135 bytes."""
    with open(path, "rb") as f:
        data = f.read()
    at = 13 + (3 * (2 << (data[10] & 7)) if data[10] & 0x80 else 0)
    while data[at] == 0x21:  # extensions: introducer, label, sub-blocks
        at += 2
        while data[at]:
            at += 1 + data[at]
        at += 1
    assert data[at] == 0x2C and data[-140:-137] == b"\x21\xfe\x87", path
    return bool(data[at + 9] & 0x40), data[-137:-2]


def random_ppm(path, width, height, colours, seed):
    rnd = random.Random(seed)
    palette = [(i, (i * 7) % 256, 255 - i) for i in range(colours)]
    image = Image.new("RGB", (width, height))
    image.putdata([palette[rnd.randrange(colours)] for _ in range(width * height)])
    image.save(path, "PPM")
    return image


class QvimageTest(unittest.TestCase):
    def setUp(self):
        self.dir = tempfile.mkdtemp(prefix="qvimage-")

    def path(self, name):
        return os.path.join(self.dir, name)

    def assert_refused(self, code, result, *absent):
        self.assertEqual(result[0], code, result[1])
        self.assertEqual(len(result[1].splitlines()), 1, result[1])
        self.assertTrue(result[1].startswith("qvimage: "), result[1])
        for name in absent:
            self.assertFalse(os.path.exists(name), name)

    def image_magick_pcx(self, name, size, seed=3):
        pcx = self.path(name)
        magick("-size", size, "-seed", str(seed), "plasma:fractal", "-colors", "200", "-type",
               "Palette", "pcx:" + pcx)
        return pcx

    def test_pcx2ppm_reads_image_magick_files_as_it_reads_them(self):
        for size in ("37x5", "320x224", "1x1", "255x3"):
            pcx = self.image_magick_pcx("in-%s.pcx" % size, size)
            ppm, expected = self.path("out.ppm"), self.path("expected.ppm")
            self.assertEqual(qvimage("pcx2ppm", pcx, ppm), (0, ""))
            magick("pcx:" + pcx, "ppm:" + expected)
            self.assertEqual(rgb_of(ppm), rgb_of(expected), size)
            with open(ppm, "rb") as f:
                self.assertTrue(f.read().startswith(b"P6\n"))

    def test_pcx2ppm_refusals_leave_no_file(self):
        out = self.path("out.ppm")
        true_colour = self.path("24bit.pcx")
        magick("-size", "37x20", "plasma:fractal", "-type", "TrueColor", "pcx:" + true_colour)
        self.assert_refused(1, qvimage("pcx2ppm", true_colour, out), out)
        self.assert_refused(1, qvimage("pcx2ppm", self.path("missing.pcx"), out), out)
        pcx = self.image_magick_pcx("ok.pcx", "8x8")
        unwritable = self.path("no-such-folder/out.ppm")
        self.assert_refused(1, qvimage("pcx2ppm", pcx, unwritable), unwritable)

    def test_usage_errors(self):
        out = self.path("out.gif")
        ppm = self.path("in.ppm")
        random_ppm(ppm, 4, 4, 3, 1)
        for args in ([], ["gif2pcx", ppm, out], ["pcx2ppm", ppm], ["pcx2ppm", ppm, out, "x"],
                     ["ppm2gif", ppm], ["ppm2gif", ppm, out, "--fast"],
                     ["ppm2gif", ppm, out, "--transparent", "1,2"],
                     ["ppm2gif", ppm, out, "--transparent", "1,2,256"],
                     ["ppm2gif", ppm, out, "--comment"], ["pcx2gif", self.dir]):
            with self.subTest(args=args):
                result = qvimage(*args)
                self.assert_refused(2, result, out)
                self.assertIn("usage", result[1])

    def test_ppm2gif_pictures_read_back_by_pillow(self):
        ppm, gif = self.path("in.ppm"), self.path("out.gif")
        for width, height, colours, flags in ((320, 224, 200, []), (13, 7, 256, ["--interlaced"]),
                                              (1, 1, 1, []), (128, 128, 256, [])):
            with self.subTest(size=(width, height), flags=flags):
                source = random_ppm(ppm, width, height, colours, width)
                self.assertEqual(qvimage("ppm2gif", ppm, gif, *flags), (0, ""))
                self.assertEqual(rgb_of(gif), (source.size, list(source.getdata())))
                self.assertEqual(gif_layout(gif), (bool(flags), b" " * 135))

    def test_ppm2gif_transparency_and_comment(self):
        ppm, gif = self.path("in.ppm"), self.path("out.gif")
        source = random_ppm(ppm, 20, 20, 10, 2)
        colour = source.getpixel((0, 0))
        code, err = qvimage("ppm2gif", ppm, gif, "--transparent", "%d,%d,%d" % colour,
                            "--comment", "Seen at the arcade")
        self.assertEqual(code, 0, err)
        with Image.open(gif) as image:
            self.assertEqual(image.info["transparency"], 0)  # the first colour met
        self.assertEqual(gif_layout(gif), (False, b"Seen at the arcade".ljust(135)))

    def test_ppm2gif_refusals_leave_no_file(self):
        ppm, gif = self.path("in.ppm"), self.path("out.gif")
        image = Image.new("RGB", (257, 1))
        image.putdata([(i % 256, i // 256, 0) for i in range(257)])
        image.save(ppm, "PPM")
        self.assert_refused(1, qvimage("ppm2gif", ppm, gif), gif)
        with open(ppm, "wb") as f:
            f.write(b"P6\n4 4\n255\n" + bytes(10))
        self.assert_refused(1, qvimage("ppm2gif", ppm, gif), gif)
        random_ppm(ppm, 4, 4, 2, 3)
        unwritable = self.path("missing/out.gif")
        self.assert_refused(1, qvimage("ppm2gif", ppm, unwritable), unwritable)

    def test_pcx2gif_saves_each_snapshot_as_the_viewer_does_and_skips_bad_ones(self):
        first = self.image_magick_pcx("Snap0000.Pcx", "320x224", 1)
        second = self.image_magick_pcx("Snap0001.Pcx", "384x224", 2)
        broken = self.path("Snap0002.Pcx")
        with open(broken, "wb") as f:
            f.write(b"\x0a\x03" + bytes(1000))
        out = os.path.join(self.dir, "gifs")
        os.mkdir(out)
        self.assertEqual(qvimage("pcx2gif", first, second, out), (0, ""))
        code, err = qvimage("pcx2gif", first, broken, second, out)
        self.assertEqual(code, 1)
        self.assertEqual(len(err.splitlines()), 1, err)
        self.assertIn("Snap0002", err)
        self.assertEqual(sorted(os.listdir(out)), ["Snap0000.gif", "Snap0001.gif"])
        for pcx in (first, second):
            gif = os.path.join(out, os.path.basename(pcx)[:-4] + ".gif")
            expected = self.path("expected.ppm")
            magick("pcx:" + pcx, "ppm:" + expected)
            self.assertEqual(rgb_of(gif), rgb_of(expected))
            self.assertEqual(gif_layout(gif), (True, VIEWER_COMMENT.ljust(135)))

    def test_gif2frames_composites_as_pillow_and_fields_as_gifsicle_wrote_them(self):
        gif, out = self.path("anim.gif"), self.path("frames")
        parts = []
        for i, colour in enumerate(("red", "lime", "blue")):
            part = self.path("part%d.gif" % i)
            box = "rectangle %d,1 %d,5" % (i, i + 4)
            magick("-size", "9x7", "xc:white", "-fill", colour, "-draw", box, part)
            parts.append(part)
        subprocess.run(["gifsicle", "--loopcount=3", "--delay=50", "--transparent=#FFFFFF",
                        parts[0], "-i", "-p", "2,1", parts[1], "--delay=0", parts[2], "-o", gif],
                       check=True)
        self.assertEqual(qvimage("gif2frames", gif, out), (0, ""))
        with open(os.path.join(out, "info.json")) as f:
            info = json.load(f)
        self.assertEqual((info["status"], info["frame_count"], info["loop_count"]), (0, 3, 3))
        self.assertEqual((info["width"], info["height"]), (11, 8))
        self.assertEqual([f["delay_ms"] for f in info["frames"]], [500, 500, 1])
        self.assertEqual([f["interlaced"] for f in info["frames"]], [False, True, True])
        self.assertEqual([(f["left"], f["top"]) for f in info["frames"]], [(0, 0), (2, 1), (2, 1)])
        self.assertTrue(all(f["transparent"] and f["transparent_index"] is not None
                            for f in info["frames"]))
        with Image.open(gif) as image:
            for k in range(3):
                image.seek(k)
                want = list(image.convert("RGBA").getdata())
                got = read_pam(os.path.join(out, "frame_%03d.pam" % (k + 1)))
                self.assertEqual(len(got), len(want))
                for i, (g, w) in enumerate(zip(got, want)):
                    self.assertEqual(g[3], w[3], (k, i))
                    if w[3]:
                        self.assertEqual(g, w, (k, i))
        self.assertFalse(os.path.exists(os.path.join(out, "frame_004.pam")))

    def test_gif2frames_refusals_write_nothing(self):
        out = self.path("frames")
        text = self.path("text.gif")
        with open(text, "wb") as f:
            f.write(b"not a picture")
        self.assert_refused(1, qvimage("gif2frames", text, out), out)
        self.assert_refused(1, qvimage("gif2frames", self.path("missing.gif"), out), out)
        for args in (["gif2frames", text], ["gif2frames", text, out, "x"]):
            result = qvimage(*args)
            self.assert_refused(2, result, out)
            self.assertIn("usage", result[1])


def read_pam(path):
    """The RGBA pixels of a PAM file as qvimage writes it."""
    with open(path, "rb") as f:
        data = f.read()
    end = data.index(b"ENDHDR\n") + 7
    head = dict(line.split(b" ", 1) for line in data[3:end - 7].splitlines())
    assert head[b"DEPTH"] == b"4" and head[b"TUPLTYPE"] == b"RGB_ALPHA", head
    pixels = data[end:]
    return [tuple(pixels[i:i + 4]) for i in range(0, len(pixels), 4)]


if __name__ == "__main__":
    unittest.main(argv=[sys.argv[0], "-v"])
