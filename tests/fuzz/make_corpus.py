#!/usr/bin/env python3
"""Makes the seed corpora of tests/fuzz/corpus/ (except jpeg_logo's, see
README.md) from samples/ and the tests' data. Run from the repository root:
    python3 tests/fuzz/make_corpus.py
The same inputs give the same seeds; the fuzz targets' comments say how each
reads its input."""
import os
import struct

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
CORPUS = os.path.join(ROOT, 'tests', 'fuzz', 'corpus')


def put(target, name, data):
    folder = os.path.join(CORPUS, target)
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, name), 'wb') as f:
        f.write(data)


def demo_lines():
    """The demo recording's header and line records (lists of pairs)."""
    raw = open(os.path.join(ROOT, 'samples', 'demo.blb'), 'rb').read()
    words = struct.unpack('<%dh' % (len(raw) // 2), raw[:len(raw) // 2 * 2])
    header, pos, lines = words[:2], 2, []
    while pos < len(words):
        n = max(words[pos], 0)
        pairs = words[pos + 1:pos + 1 + 2 * n]
        lines.append([(pairs[i], pairs[i + 1]) for i in range(0, len(pairs) - 1, 2)])
        pos += 1 + 2 * n
    return header, lines


def binary(header, lines):
    words = list(header)
    for line in lines:
        words.append(len(line))
        for s, e in line:
            words += [s, e]
    return struct.pack('<%dh' % len(words), *words)


def text(header, lines):
    out = '%d %d\r\n' % tuple(header)
    for line in lines:
        out += ' '.join([str(len(line))] + ['%d %d' % p for p in line]) + '\n'
    return out.encode()


header, lines = demo_lines()
# The first fish (lines 62..81, channel 2) and three more round line 1900.
stretch = lines[:100] + lines[1890:1960]

# Recount: options byte 0x66 = 3 channels, frames of 7 columns, size group 3.
put('recount_block', 'demo_fish', b'\x66' + binary(header, stretch))
put('recount_block', 'header_only', b'\x00' + struct.pack('<2h', 0, 511))
put('recount_block', 'odd_and_cut', b'\x13' + binary(header, stretch[60:70])[:-3])
put('recount_block', 'bad_counts', b'\x2c' + struct.pack('<10h', 0, 511, -3, 501, 10, 20, 1, 30, 40, 0))
put('recount_text', 'demo_fish', b'\x66' + text(header, stretch))
put('recount_text', 'header_only', b'\x00' + b'0 511\n')
put('recount_text', 'damaged', b'\x13' + b'0\n511 7 7\n1 10 x20 20\n-4\n70000 3 -1 2 3\n501 1 2\n2 5')

# One seed for each kind of damage the readers name (records/damage_reporter.h),
# the rest of the file sound.
sound = binary(header, stretch[55:75])
put('recount_block', 'damage_short_header', b'\x00' + b'\x00\x00\xff')
put('recount_block', 'damage_negative_count', b'\x01' + sound + struct.pack('<h', -7) + binary((), stretch[75:80]))
put('recount_block', 'damage_count_above_500', b'\x05' + sound + struct.pack('<3h', 501, 10, 20) + b'\x00' * 2000)
put('recount_block', 'damage_cut_short', b'\x02' + sound + struct.pack('<4h', 3, 10, 20, 30))
put('recount_block', 'damage_odd_byte', b'\x06' + sound + b'\x01')
sound_text = text(header, stretch[55:75])
put('recount_text', 'damage_not_a_number', b'\x01' + sound_text + b'2 10 2O 30 40\n' + text((0, 511), stretch[75:80]).split(b'\n', 1)[1])
put('recount_text', 'damage_edges_split', b'\x00' + b'0\n511\n' + sound_text.split(b'\n', 1)[1])
put('recount_text', 'damage_negative_count', b'\x02' + sound_text + b'-7\n1 5 9\n')
put('recount_text', 'damage_count_above_500', b'\x03' + sound_text + b'501 ' + b'1 2 ' * 501 + b'\n')
put('recount_text', 'damage_cut_short', b'\x04' + sound_text + b'3 10 20 30')
put('report', 'damage_no_sections', b'Total=5\r\nNrChannels=2\r\n')

# Tracking (a .blb like recount_block's, mutated as lines of segments): the
# demo's fish, and a made-up stretch of two channels (options 0x19: frames of
# 250 columns, Enablemulti) with a fish across the channel border, one across
# the frame edge at line 250 and two that meet in a V.
def fish(first, count, centre, breadth, drift=0):
    out = {}
    for k in range(count):
        t = (k + 0.5) / count
        half = int(breadth * 0.5 * (1 - (2 * t - 1) ** 2)) + 1
        c = centre + drift * k
        out[first + k] = (c - half, c + half)
    return out


def made_up(length, *fishes):
    lines = [[] for _ in range(length)]
    for f in fishes:
        for line, seg in f.items():
            lines[line].append(seg)
    return [sorted(l) for l in lines]


put('recount_tracking', 'demo_fish', b'\x66' + binary(header, stretch))
put('recount_tracking', 'border_edge_meeting', b'\x19' + binary((0, 511), made_up(
    320, fish(20, 30, 256, 40), fish(236, 30, 100, 30), fish(100, 40, 380, 24, 2), fish(110, 30, 470, 24, -3))))

# Line analysis: header (3 channels, 1000 mm, edges 0..511, size groups 3),
# then every line prepared in place; the second seed sends them raw,
# adapting the limits after each, with raw channel positions.
def analysis_lines(flag, lines):
    out = b''
    for line in lines:
        out += struct.pack('<Bh', flag, len(line))
        for s, e in line:
            out += struct.pack('<2h', s, e)
    return out


put('line_analysis', 'demo_prepared', struct.pack('<B2h4b', 0x46, 0, 511, 3, 3, 3, 3) + analysis_lines(1, stretch))
positions = struct.pack('<12h', 0, 170, 333, 171, 340, 333, 341, 511, 333, 0, 0, 0)
put('line_analysis', 'demo_raw_adapting',
    struct.pack('<B2h4b', 0x26, 0, 511, 3, 3, 9, -1) + positions + analysis_lines(0x08, stretch[55:90]))
put('line_analysis', 'preparer_jump', struct.pack('<B2h4b', 0x0d, 511, 0, 0, 8, 2, 2) +
    analysis_lines(2, stretch[60:75]) + analysis_lines(0x13, stretch[75:80]))

# The INI model and the store: the demo report and the tests' report are
# INI files; a store as the program writes it.
demo_mse = open(os.path.join(ROOT, 'samples', 'demo.mse'), 'rb').read()
two_channels = open(os.path.join(ROOT, 'tests', 'reports', 'data', 'report_viewer_two_channels.mse'), 'rb').read()
store = ('[Eka]\r\nByrjunX=10\r\nByrjunY=500\r\nNrch=3\r\nChannelwidth=1\r\nSize Group1=3\r\n'
         'Multib1=10\r\nMultie1=170\r\n%width1=333\r\nMultib2=171\r\nMultie2=340\r\nEnablemulti=1\r\n'
         'Countname1=North\r\nReportpath="C:\\Reports\\"\r\nLanguagenumber=2\r\n; comment\r\n'
         '[eka]\r\nNrch=4\r\n[Other]\r\nkey = " quoted "\r\n').encode()
put('ini_settings', 'store', store)
put('ini_settings', 'store_cp1252_cr', b'[Eka]\rCountname1=S\xf8r\rNrch=2\rThreshold=1\rDebugMode=1\r')
put('ini_settings', 'store_utf16', '\ufeff[Eka]\r\nNrch=2\r\nCountname2=Øst\r\n'.encode('utf-16-le'))
put('ini_settings', 'demo_report_head', demo_mse[:1500])

put('report', 'demo', demo_mse)
put('report', 'two_channels', two_channels)
put('report', 'comma_and_limits', b'[Program]\nNocommentlines=3\ncomment0=a\ncomment2=' + b'x' * 120 +
    b'\nLasting=0,5\nDateTime=45000,75\n[Settings]\nNrChannels=9\n[Eka]\nCounters1=-5\nSize Group1=99\n'
    b'[Distribution1]\nG0=0\nG1=2147483647\nAW=12\n[ThroughputChart2]\nX1=0.9\nY1=3\nX2=0.1\n'
    b'[StoredValues]\n0=14:05:09\t120\t87\n1=\n')

table = open(os.path.join(ROOT, 'texts', 'language_table.csv'), 'rb').read()
put('language', 'table_head', table[:table.index(b'\n', 3000) + 1])
put('language', 'examples', b'7,,Settings,Stillingar\r\n9,,"Multi Channels"\r\n1,"say ""hi""",x\n'
    b'27,,"Sea Bass",Barri",Torsk\ra b,c\n,\n"open\n\x00after')
