#!/usr/bin/python3
"""Builds hanzi-readings.dat, the table of Chinese characters and words with their readings.

usage: make_hanzi_table.py UNIHAN_FOLDER TERRA_FOLDER CHEWING_FOLDER JIEBA_WORDS OUTPUT

Characters take their most customary reading from the Unicode Han database (kMandarin). Words
come from the Terra Pinyin dictionary of Rime (rime-data-terra-pinyin, LGPL-3): its word list
with readings, and its compiled table, which adds the everyday vocabulary with readings made from
the characters. That vocabulary is an input method's, full of phrases typed as one (他說, 好嗎);
of it only the words that Jieba's word list (python3-jieba, MIT) also has are kept, so that words
stay apart where the orthography writes them apart. Where the compiled table offers several
readings for a word that the word list does not settle, the one the Chewing dictionary
(libchewing3-data, LGPL-2.1+) gives decides. Every word is stored under its traditional spelling
and its simplified one.

The file, little-endian, every part aligned to 4 bytes:
  "TQHZ", version 1, syllable count, syllable bytes, longest word L, then L record counts;
  the syllables ("zhang3", "r5") each ended by NUL, padded;
  for each length n from 1 to L, its records sorted by code points: n code points (u32), then n
  syllable numbers (u16), padded.
"""

import bz2
import collections
import struct
import sys
import unicodedata

TONE_MARKS = {'\u0304': '1', '\u0301': '2', '\u030c': '3', '\u0300': '4'}


def numbered(marked):
    """yī -> yi1, lǜ -> lv4, le -> le5."""
    tone, letters = '5', ''
    for c in unicodedata.normalize('NFD', marked):
        if c in TONE_MARKS:
            tone = TONE_MARKS[c]
        elif c == '\u0308':
            letters = letters[:-1] + 'v' if letters.endswith('u') else letters
        else:
            letters += c
    return letters.lower() + tone


def unihan(folder, name, field):
    found = {}
    with bz2.open(f'{folder}/{name}', 'rt', encoding='utf-8') as lines:
        for line in lines:
            if line.startswith('U+'):
                code, key, value = line.rstrip('\n').split('\t', 2)
                if key == field:
                    found[chr(int(code[2:], 16))] = value
    return found


def rime_entries(path):
    """(word, syllables, weight) of a Rime dictionary or table, past a dictionary's header."""
    with open(path, encoding='utf-8') as lines:
        body = not path.endswith('.yaml')
        for line in lines:
            if not body:
                body = line.startswith('...')
                continue
            parts = line.rstrip('\n').split('\t')
            if len(parts) < 2 or not parts[0] or parts[0].startswith('#'):
                continue
            weight = parts[2].rstrip('%') if len(parts) > 2 else ''
            yield parts[0], parts[1].split(' '), float(weight) if weight else None


ZHUYIN_INITIALS = dict(zip('ㄅㄆㄇㄈㄉㄊㄋㄌㄍㄎㄏㄐㄑㄒㄓㄔㄕㄖㄗㄘㄙ',
                           'b p m f d t n l g k h j q x zh ch sh r z c s'.split()))
ZHUYIN_FINALS = dict(zip('ㄚㄛㄜㄝㄞㄟㄠㄡㄢㄣㄤㄥㄦ', 'a o e e ai ei ao ou an en ang eng er'.split()))
BARE_INITIALS = ('zh', 'ch', 'sh', 'r', 'z', 'c', 's')


def zhuyin_syllable(initial, medial, final):
    """Chewing's phone parts (1-based, 0 for none) as a toneless pinyin syllable."""
    i = list(ZHUYIN_INITIALS.values())[initial - 1] if initial else ''
    f = list(ZHUYIN_FINALS.values())[final - 1] if final else ''
    if medial == 1:
        rime = {'': 'i', 'o': 'io', 'ou': 'iu', 'en': 'in', 'eng': 'ing', 'e': 'ie'}.get(f, 'i' + f)
        if not i:
            rime = {'i': 'yi', 'in': 'yin', 'ing': 'ying', 'iu': 'you'}.get(rime, 'y' + rime[1:])
        return i + rime
    if medial == 2:
        rime = {'': 'u', 'ei': 'ui', 'en': 'un', 'eng': 'ong', 'o': 'uo'}.get(f, 'u' + f)
        if not i:
            return {'u': 'wu', 'ui': 'wei', 'un': 'wen', 'ong': 'weng'}.get(rime, 'w' + rime[1:])
        return i + ('o' if i in 'bpmf' and rime == 'uo' else rime)
    if medial == 3:
        rime = {'': 'v', 'e': 've', 'an': 'van', 'en': 'vn', 'eng': 'iong'}.get(f, 'v' + f)
        if i in ('j', 'q', 'x', ''):
            rime = rime.replace('v', 'u')
        if not i:
            rime = 'y' + (rime[1:] if rime.startswith('iong') else rime)
        return i + rime
    return i + ('i' if not f and i in BARE_INITIALS else f)


def chewing_words(folder):
    """Chewing's phrases and their readings: its index tree of 8-byte nodes (a 16-bit phone, then
    two 24-bit numbers: the children's range, or for a leaf the phrase's offset and frequency)
    over its NUL-ended phrases."""
    with open(f'{folder}/index_tree.dat', 'rb') as f:
        tree = f.read()
    with open(f'{folder}/dictionary.dat', 'rb') as f:
        phrases = f.read()
    tones = {0: '1', 1: '5', 2: '2', 3: '3', 4: '4'}

    def node(i):
        phone, = struct.unpack_from('<H', tree, 8 * i)
        first = int.from_bytes(tree[8 * i + 2:8 * i + 5], 'little')
        second = int.from_bytes(tree[8 * i + 5:8 * i + 8], 'little')
        return phone, first, second

    def reading(phone):
        letters = zhuyin_syllable(phone >> 9, (phone >> 7) & 3, (phone >> 3) & 15)
        return letters + tones.get(phone & 7, '?')

    words = collections.defaultdict(list)
    pending = [(0, ())]
    while pending:
        index, phones = pending.pop()
        phone, first, second = node(index)
        if phone == 0 and index != 0:
            word = phrases[first:phrases.index(b'\0', first)].decode('utf-8')
            if len(word) >= 2 and len(word) == len(phones):
                words[word].append([reading(p) for p in phones])
            continue
        pending.extend((child, phones + (phone,) if index else ()) for child in range(first, second))
    return words


def one_and_not(word, syllables):
    """一 and 不 take their own tones, as dictionaries write them, not the changed ones of speech."""
    fixed = []
    for c, s in zip(word, syllables):
        if c == '一' and s.startswith('yi'):
            s = 'yi1'
        elif c == '不' and s in ('bu2', 'bu4'):
            s = 'bu4'
        fixed.append(s)
    return tuple(fixed)


class Readings:
    def __init__(self, unihan_folder, terra_folder, chewing_folder, jieba_words):
        self.characters = {c: numbered(v.split()[0]) for c, v in
                           unihan(unihan_folder, 'Unihan_Readings.txt.bz2', 'kMandarin').items()}
        self.simplified = {c: chr(int(v.split()[0][2:], 16)) for c, v in
                           unihan(unihan_folder, 'Unihan_Variants.txt.bz2',
                                  'kSimplifiedVariant').items()}
        self.chewing = chewing_words(chewing_folder)
        if self.chewing.get('長大') != [['zhang3', 'da4']]:
            sys.exit('make_hanzi_table: the Chewing dictionary is not in the expected format')
        self.settled = collections.defaultdict(list)
        self.character_weights = collections.defaultdict(dict)
        for word, syllables, weight in rime_entries(f'{terra_folder}/terra_pinyin.dict.yaml'):
            if len(word) == 1:
                self.character_weights[word][syllables[0]] = 100.0 if weight is None else weight
            elif len(word) == len(syllables):
                self.settled[word].append(syllables)
        with open(jieba_words, encoding='utf-8') as lines:
            separate = {line.split(' ')[0] for line in lines}
        self.offered = collections.defaultdict(list)
        self.frequency = collections.Counter()
        for word, syllables, weight in rime_entries(f'{terra_folder}/build/terra_pinyin.table.txt'):
            if len(word) >= 2 and len(word) == len(syllables) and (
                    word in self.settled or word in separate or self.simplify(word) in separate):
                self.offered[word].append(syllables)
                self.frequency[word] = max(self.frequency[word], weight or 0)
        for word, syllables in self.settled.items():
            self.offered.setdefault(word, syllables)

    def simplify(self, word):
        return ''.join(self.simplified.get(c, c) for c in word)

    def chewing_agrees(self, word, syllables):
        best = 0
        for known in self.chewing.get(word, ()):
            if len(known) == len(syllables):
                best = max(best, sum(a == b or (a[-1] == '5' and a[:-1] == b[:-1])
                                     for a, b in zip(syllables, known)))
        return best

    def character_weight(self, word, syllables):
        product = 1.0
        for c, s in zip(word, syllables):
            product *= self.character_weights.get(c, {}).get(s, 50.0) / 100
        return product

    def word_reading(self, word):
        candidates = list(dict.fromkeys(
            one_and_not(word, s) for s in (self.settled.get(word) or self.offered[word])))
        # Where a word is heard both ways, dictionaries write its neutral tone.
        return max(candidates, key=lambda s: (
            0 if word in self.settled else self.chewing_agrees(word, s),
            sum(x.endswith('5') for x in s),
            self.character_weight(word, s)))

    def words(self):
        """Every word under its traditional and its simplified spelling; where two words meet
        under one simplified spelling, the more frequent one."""
        chosen = {}
        for word in self.offered:
            syllables = self.word_reading(word)
            weight = self.frequency[word]
            for key in {word, self.simplify(word)}:
                if key not in chosen or chosen[key][1] < weight:
                    chosen[key] = (syllables, weight)
        return {key: syllables for key, (syllables, _) in chosen.items()}


def write_table(path, characters, words):
    entries = {c: (s,) for c, s in characters.items()}
    entries.update(words)
    syllables = sorted({s for reading in entries.values() for s in reading})
    number = {s: i for i, s in enumerate(syllables)}
    longest = max(len(key) for key in entries)
    by_length = [sorted((key for key in entries if len(key) == n), key=lambda k: [ord(c) for c in k])
                 for n in range(1, longest + 1)]
    names = b''.join(s.encode('ascii') + b'\0' for s in syllables)
    names += b'\0' * (-len(names) % 4)
    out = bytearray(b'TQHZ')
    out += struct.pack(f'<4I{longest}I', 1, len(syllables), len(names), longest,
                       *(len(keys) for keys in by_length))
    out += names
    for n, keys in enumerate(by_length, 1):
        for key in keys:
            out += struct.pack(f'<{n}I{n}H', *(ord(c) for c in key), *(number[s] for s in entries[key]))
            out += b'\0' * (-2 * n % 4)
    with open(path, 'wb') as f:
        f.write(out)


def main():
    if len(sys.argv) != 6:
        sys.exit(__doc__.split('\n\n')[1])
    *sources, output = sys.argv[1:]
    readings = Readings(*sources)
    characters = dict(readings.characters)
    for c, weights in readings.character_weights.items():
        characters.setdefault(c, max(weights, key=weights.get))
    write_table(output, characters, readings.words())


if __name__ == '__main__':
    main()
