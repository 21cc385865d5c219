#!/usr/bin/env python3
"""Writes the seed inputs of the suite's stream fuzz targets into seeds/<target>/.

Frames use copied LZRW blocks (flag 0x80 and the bytes), so no coder is needed here."""
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))


def le(v):
    return struct.pack('<i', v)


def frame(data):
    out = b''
    for i in range(0, len(data), 32781):
        block = b'\x80' + data[i:i + 32781]
        out += le(len(block)) + block
    return le(len(out)) + out


def wave(samples=b'\x80\x90\xa0\x90'):
    fmt = struct.pack('<HHIIHH', 1, 1, 8000, 8000, 1, 8)
    body = b'WAVE' + b'fmt ' + le(16) + fmt + b'data' + le(len(samples)) + samples
    return b'RIFF' + le(len(body)) + body


def bmp(w=2, h=2):
    row = (w * 3 + 3) // 4 * 4
    bits = b''.join((bytes([0, 0, 255]) * w).ljust(row, b'\0') for _ in range(h))
    info = struct.pack('<IiiHHIIiiII', 40, w, h, 1, 24, 0, len(bits), 0, 0, 0, 0)
    return b'BM' + le(14 + 40 + len(bits)) + b'\0\0\0\0' + le(54) + info + bits


def shortstr(s):
    return bytes([len(s)]) + s


def write(name, data):
    path = os.path.join(HERE, 'seeds', name)
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, 'wb') as f:
        f.write(data)


def main():
    # Compressed frames.
    write('kvxframe/empty', le(0))
    write('kvxframe/copied', frame(b'hello hello hello hello'))
    write('kvxframe/two_blocks', frame(bytes(range(256)) * 129))
    write('kvxframe/bad_length', le(10) + le(0) + b'\x80abcde')
    # List items: the first byte picks string, wave, image record or bitmap.
    text = b'one\r\ntwo\r\n'
    img = bmp(4, 2)
    write('listitem/strings_plain', b'\x00' + bytes([0x08 | 0x02]) + shortstr(b'names') + le(len(text)) + text)
    write('listitem/strings_compressed', b'\x00' + bytes([0x09]) + frame(text))
    write('listitem/wave_empty', b'\x01' + b'\x00')
    write('listitem/wave_plain', b'\x01' + bytes([0x08 | 0x04]) + le(7) + le(len(wave())) + wave())
    write('listitem/wave_compressed', b'\x01' + bytes([0x09]) + frame(wave()))
    write('listitem/image_empty', b'\x02' + b'\x00' + le(16) + le(16) + le(4) + b'\x00' + le(0))
    write('listitem/image_masked',
          b'\x02' + b'\x00' + le(2) + le(2) + le(4) + b'\x01' + le(2) + le(len(img)) + img + le(len(img)) + img)
    write('listitem/bitmap_plain', b'\x03' + bytes([0x08 | 0x10]) + le(len(bmp())) + bmp())
    write('listitem/bitmap_compressed', b'\x03' + bytes([0x09]) + frame(bmp()))
    # Wave "Data" (first byte 0) and compressed waves (1).
    write('wavedata/data', b'\x00' + le(len(wave())) + wave())
    write('wavedata/data_empty', b'\x00' + le(0))
    write('wavedata/compressed', b'\x01' + frame(wave()))
    write('wavedata/not_riff', b'\x00' + le(40) + b'RIFX' + b'\0' * 36)
    # Containers: the first byte picks offsets (bit 0) and a wave list (bit 1).
    item1 = bytes([0x0A]) + shortstr(b'a') + le(len(text)) + text
    item2 = bytes([0x08]) + le(4) + b'x\r\n\r'
    write('container/strings', b'\x00' + le(2) + item1 + item2)
    write('container/strings_offsets', b'\x01' + le(2) + le(12) + le(12 + len(item1)) + item1 + item2)
    write('container/waves', b'\x02' + le(2) + b'\x00' + bytes([0x08]) + le(len(wave())) + wave())
    write('container/waves_offsets', b'\x03' + le(1) + le(8) + bytes([0x09]) + frame(wave()))
    # Font lines.
    write('fonttext/bold_red', b'Arial,12,clRed,1,0,0,0')
    write('fonttext/hex_colour', b'Courier New,8,$00123456,0,1,0,1')
    write('fonttext/bad_size', b'Arial,x,clBlack,0,0,0,0')
    write('fonttext/six_fields', b'Arial,12,clRed,1,0,0')
    write('fonttext/bad_colour', b'Arial,12,clNoSuchColour,1,0,0,0')


if __name__ == '__main__':
    main()
