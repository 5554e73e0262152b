#!/usr/bin/python3
"""Writes the picture fuzzer's seeds into corpus-picture/: one small picture of each format and
variant the decoder takes (Debian's python3-pil makes them). Run once; the files are kept."""
import io
import os

from PIL import Image

HERE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "corpus-picture")


def ramp(mode, size=(7, 5)):
    image = Image.new("RGB", size)
    for y in range(size[1]):
        for x in range(size[0]):
            image.putpixel((x, y), (x * 36, y * 60, (x + y) * 20))
    return image.convert(mode) if mode != "RGB" else image


def save(name, image, **options):
    buffer = io.BytesIO()
    image.save(buffer, **options)
    with open(os.path.join(HERE, name), "wb") as f:
        f.write(buffer.getvalue())


def main():
    os.makedirs(HERE, exist_ok=True)
    rgba = ramp("RGBA")
    rgba.putalpha(Image.linear_gradient("L").resize((7, 5)))
    save("grey.png", ramp("L"), format="PNG")
    save("rgba.png", rgba, format="PNG")
    save("palette-transparent.png", ramp("P"), format="PNG", transparency=3)
    save("rgb.png", ramp("RGB"), format="PNG")
    save("grey16.png", ramp("L").convert("I;16"), format="PNG")
    save("one-bit.png", ramp("1"), format="PNG")
    save("baseline.jpg", ramp("RGB", (19, 11)), format="JPEG", quality=90)
    save("progressive.jpg", ramp("RGB", (19, 11)), format="JPEG", quality=75, progressive=True)
    save("grey.jpg", ramp("L", (9, 9)), format="JPEG", quality=90)
    save("transparent.gif", ramp("P"), format="GIF", transparency=0)
    frames = [ramp("P"), ramp("P").transpose(Image.Transpose.FLIP_LEFT_RIGHT)]
    save("animated.gif", frames[0], format="GIF", save_all=True, append_images=frames[1:])
    save("rgb24.bmp", ramp("RGB"), format="BMP")
    save("palette8.bmp", ramp("P"), format="BMP")
    save("rgba32.bmp", rgba, format="BMP")
    save("raw.tga", ramp("RGB"), format="TGA")
    save("rle.tga", rgba, format="TGA", compression="tga_rle")
    save("grey.pgm", ramp("L"), format="PPM")
    save("colour.ppm", ramp("RGB"), format="PPM")


if __name__ == "__main__":
    main()
