"""24-bit Windows BMP and ICO files: writing, and reading back for the checks.

Rows are lists of (r, g, b) triples, top row first; the files store them bottom-up as BGR.
"""

import struct

_INFO_HEADER = struct.Struct("<IiiHHIIiiII")  # BITMAPINFOHEADER, 40 bytes
_FILE_HEADER = struct.Struct("<2sIHHI")  # BITMAPFILEHEADER, 14 bytes
_ICON_DIR = struct.Struct("<HHH")
_ICON_ENTRY = struct.Struct("<BBBBHHII")
_PIXELS_PER_METRE = 3780  # 96 dpi


def _stride(width, bits):
    return (width * bits + 31) // 32 * 4


def _colour_rows(rows):
    width = len(rows[0])
    padding = b"\0" * (_stride(width, 24) - width * 3)
    return b"".join(
        bytes(v for r, g, b in row for v in (b, g, r)) + padding for row in reversed(rows))


def _info_header(width, stored_height, image_size):
    return _INFO_HEADER.pack(40, width, stored_height, 1, 24, 0, image_size, _PIXELS_PER_METRE,
                             _PIXELS_PER_METRE, 0, 0)


def write_bmp(path, rows):
    pixels = _colour_rows(rows)
    offset = _FILE_HEADER.size + _INFO_HEADER.size
    with open(path, "wb") as out:
        out.write(_FILE_HEADER.pack(b"BM", offset + len(pixels), 0, 0, offset))
        out.write(_info_header(len(rows[0]), len(rows), len(pixels)))
        out.write(pixels)


def write_ico(path, rows):
    """One-image icon: the header states twice the height (colour bitmap plus AND mask)."""
    width, height = len(rows[0]), len(rows)
    colour = _colour_rows(rows)
    opaque_mask = b"\0" * (_stride(width, 1) * height)
    image = _info_header(width, 2 * height, len(colour) + len(opaque_mask)) + colour + opaque_mask
    offset = _ICON_DIR.size + _ICON_ENTRY.size
    with open(path, "wb") as out:
        out.write(_ICON_DIR.pack(0, 1, 1))
        out.write(_ICON_ENTRY.pack(width % 256, height % 256, 0, 0, 1, 24, len(image), offset))
        out.write(image)


class ImageFormatError(Exception):
    pass


def _decode(data, header_at, pixels_at, height_divisor):
    (size, width, stored_height, planes, bits, compression, *_rest) = _INFO_HEADER.unpack_from(
        data, header_at)
    if size != 40 or planes != 1 or bits != 24 or compression != 0:
        raise ImageFormatError("not an uncompressed 24-bit bitmap")
    height = stored_height // height_divisor
    stride = _stride(width, 24)
    if len(data) < pixels_at + stride * height:
        raise ImageFormatError("pixel data cut short")
    rows = []
    for y in range(height):
        start = pixels_at + (height - 1 - y) * stride
        line = data[start:start + width * 3]
        rows.append([(line[i + 2], line[i + 1], line[i]) for i in range(0, len(line), 3)])
    return rows


def read_bmp(path):
    with open(path, "rb") as f:
        data = f.read()
    magic, file_size, _, _, offset = _FILE_HEADER.unpack_from(data)
    if magic != b"BM" or file_size != len(data):
        raise ImageFormatError("bad file header")
    return _decode(data, _FILE_HEADER.size, offset, 1)


def read_ico(path):
    """Rows of the one image of an icon file, after checking the mask and the directory entry."""
    with open(path, "rb") as f:
        data = f.read()
    reserved, kind, count = _ICON_DIR.unpack_from(data)
    if reserved != 0 or kind != 1 or count != 1:
        raise ImageFormatError("not a one-image icon")
    width, height, _, _, planes, bits, size, offset = _ICON_ENTRY.unpack_from(data, _ICON_DIR.size)
    if planes != 1 or bits != 24 or offset + size != len(data):
        raise ImageFormatError("bad icon directory entry")
    rows = _decode(data, offset, offset + _INFO_HEADER.size, 2)
    if (len(rows[0]) % 256, len(rows) % 256) != (width, height):
        raise ImageFormatError("directory entry and bitmap disagree on the size")
    mask_size = _stride(len(rows[0]), 1) * len(rows)
    if size != _INFO_HEADER.size + _stride(len(rows[0]), 24) * len(rows) + mask_size:
        raise ImageFormatError("AND mask missing")
    return rows
