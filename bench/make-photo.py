#!/usr/bin/python3
"""Writes a photo-like 4000 x 3000 JPEG (quality 90) to the path given: soft gradients and
blotches, hard-edged shapes and fine grain in three colour channels, so the decoder and the
resampler get the work a real photo gives them. Needs Debian's python3-pil."""
import sys

from PIL import Image, ImageChops, ImageDraw, ImageFilter

WIDTH, HEIGHT = 4000, 3000


def channel(seed):
    sky = Image.linear_gradient("L").resize((WIDTH, HEIGHT))
    if seed % 2:
        sky = sky.transpose(Image.Transpose.FLIP_TOP_BOTTOM)
    light = Image.radial_gradient("L").resize((WIDTH, HEIGHT))
    blotches = Image.effect_noise((WIDTH // 50, HEIGHT // 50), 60 + 10 * seed).resize(
        (WIDTH, HEIGHT), Image.Resampling.BICUBIC).filter(ImageFilter.GaussianBlur(40))
    picture = ImageChops.blend(ImageChops.blend(sky, light, 0.35), ImageChops.add(blotches, blotches, offset=-128), 0.5)
    draw = ImageDraw.Draw(picture)
    for i in range(40):
        x = (i * 997 + seed * 131) % WIDTH
        y = (i * 613 + seed * 71) % HEIGHT
        size = 60 + (i * 37) % 400
        shade = (i * 53 + seed * 29) % 256
        if i % 3:
            draw.ellipse((x, y, x + size, y + size * 2 // 3), fill=shade)
        else:
            draw.rectangle((x, y, x + size // 2, y + size), fill=shade)
    picture = picture.filter(ImageFilter.GaussianBlur(1.5))
    grain = Image.effect_noise((WIDTH, HEIGHT), 24)
    return ImageChops.add(ImageChops.multiply(picture, Image.new("L", picture.size, 235)),
                          grain, scale=1.0, offset=-100)


def main():
    photo = Image.merge("RGB", [channel(s) for s in range(3)])
    photo.save(sys.argv[1], format="JPEG", quality=90)


if __name__ == "__main__":
    main()
