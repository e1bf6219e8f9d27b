#!/usr/bin/env python3
"""Writes Windows icon files: palette images for old displays first, then
32-bit images with an alpha channel in the usual sizes.

  scripts/icon_file.py out.ico [--classic old.ico] SIZE:pixels.rgba ...

--classic copies every image of an existing icon file, in its order, to the
front; each SIZE:file names SIZE x SIZE pixels of raw RGBA (as ImageMagick's
`rgba:` output writes them), stored at 32 bits with the alpha kept.
"""
import struct
import sys


def rgba_image(size, rgba):
    """One icon image: BITMAPINFOHEADER, bottom-up BGRA rows, then the AND mask."""
    assert len(rgba) == size * size * 4, (size, len(rgba))
    rows = []
    mask_rows = []
    mask_stride = ((size + 31) // 32) * 4
    for y in reversed(range(size)):
        row = bytearray()
        bits = bytearray(mask_stride)
        for x in range(size):
            r, g, b, a = rgba[(y * size + x) * 4:(y * size + x) * 4 + 4]
            # Fully transparent pixels carry no colour: old blitters then show nothing there.
            row += bytes((b, g, r, a)) if a else bytes(4)
            if a == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        rows.append(bytes(row))
        mask_rows.append(bytes(bits))
    xor_mask = b"".join(rows)
    and_mask = b"".join(mask_rows)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, len(xor_mask) + len(and_mask), 0, 0, 0, 0)
    return header + xor_mask + and_mask


def read_icon(path):
    """The images of an icon file as (directory entry without offset, bytes)."""
    data = open(path, "rb").read()
    reserved, kind, count = struct.unpack_from("<HHH", data, 0)
    assert reserved == 0 and kind == 1, path
    images = []
    for i in range(count):
        w, h, colours, zero, planes, bits, size, offset = struct.unpack_from("<BBBBHHII", data, 6 + 16 * i)
        images.append(((w, h, colours, zero, planes, bits), data[offset:offset + size]))
    return images


def write_icon(path, images):
    """images: list of ((width, height, colours, 0, planes, bits), bytes)."""
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    body = b""
    for entry, image in images:
        out += struct.pack("<BBBBHHII", *entry, len(image), offset)
        offset += len(image)
        body += image
    with open(path, "wb") as f:
        f.write(out + body)


def alpha_entry(size, rgba):
    return ((size % 256, size % 256, 0, 0, 1, 32), rgba_image(size, rgba))


def main(argv):
    out = argv[1]
    images = []
    rest = argv[2:]
    if rest[:1] == ["--classic"]:
        images += read_icon(rest[1])
        rest = rest[2:]
    for entry in rest:
        size, path = entry.split(":", 1)
        images.append(alpha_entry(int(size), open(path, "rb").read()))
    write_icon(out, images)


if __name__ == "__main__":
    main(sys.argv)
