#include "PinyinText.h"

#include "tone/GlyphTables.h"

#include <array>
#include <cstdint>

namespace bench {

namespace {

constexpr std::array initials{"",  "b", "p", "m",  "f",  "d",  "t", "n", "l", "g", "k", "h",
                              "j", "q", "x", "zh", "ch", "sh", "r", "z", "c", "s", "y", "w"};
constexpr std::array finals{"a",  "ai",  "ao", "an",  "ang", "e", "ei", "en", "eng", "i",
                            "in", "ing", "o",  "ong", "ou",  "u", "un", "uo", "ia",  "ie"};

// A fixed linear congruential sequence: reproducible texts without any seed to carry around.
class Numbers {
  public:
    int below(int bound) {
        state_ = state_ * 6364136223846793005ULL + 1442695040888963407ULL;
        return int((state_ >> 33) % std::uint64_t(bound));
    }

  private:
    std::uint64_t state_ = 2024;
};

// The final's first vowel carries the tone, drawn by its glyph; tone 5 (neutral) has none.
// Numbered, the tone's digit follows the syllable instead, 5 included, as dictionaries write it.
QString syllable(Numbers& numbers, bool numbered) {
    const QString final = QString::fromLatin1(finals[numbers.below(int(finals.size()))]);
    QString result = QString::fromLatin1(initials[numbers.below(int(initials.size()))]) + final;
    const int tone = numbers.below(5) + 1;
    const int vowelAt = int(result.size() - final.size());
    if (numbered) {
        result += QChar(u'0' + tone);
    } else if (tone <= tone::toneCount) {
        const int row = tone::rowOfVowel(result[vowelAt].unicode());
        result[vowelAt] = QChar(tone::glyph(row, tone));
    }
    if (numbers.below(12) == 0 && result[0].unicode() < 0x80)
        result[0] = result[0].toUpper();
    return result;
}

QString line(Numbers& numbers, bool numbered) {
    QString text;
    const int words = 2 + numbers.below(8);
    for (int w = 0; w < words; ++w) {
        if (w > 0)
            text += u' ';
        const int syllables = 1 + numbers.below(3);
        for (int s = 0; s < syllables; ++s)
            text += syllable(numbers, numbered);
    }
    return text;
}

QString makeText(int lines, bool numbered) {
    Numbers numbers;
    QString text;
    for (int i = 0; i < lines; ++i) {
        if (i > 0)
            text += u'\n';
        if (numbers.below(10) > 0)
            text += line(numbers, numbered);
    }
    return text;
}

} // namespace

QString pinyinText(int lines) {
    return makeText(lines, false);
}

QString numberedPinyinText(int lines) {
    return makeText(lines, true);
}

} // namespace bench
