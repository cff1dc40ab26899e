#include "HanziPinyin.h"

#include "NumberedPinyin.h"
#include "UnicodePinyin.h"

#include <algorithm>
#include <array>
#include <initializer_list>
#include <utility>
#include <vector>

namespace tone {

namespace {

// What the text last received decides the space before what comes next.
enum class Last { Nothing, Other, Word, Pinyin, Opening, Closing };

struct Punctuation {
    std::u16string_view chinese;
    std::u16string_view latin;
    Last kind;
    bool onlyBesideChinese = false;
};

// Longer marks before the shorter ones they begin with.
constexpr std::array<Punctuation, 25> punctuation{{
    {u"\uFF0C", u",", Last::Closing},
    {u"\u3002", u".", Last::Closing},
    {u"\u3001", u",", Last::Closing},
    {u"\uFF1B", u";", Last::Closing},
    {u"\uFF1A", u":", Last::Closing},
    {u"\uFF1F", u"?", Last::Closing},
    {u"\uFF01", u"!", Last::Closing},
    {u"\uFF08", u"(", Last::Opening},
    {u"\uFF09", u")", Last::Closing},
    {u"\u300A", u"\"", Last::Opening},
    {u"\u300B", u"\"", Last::Closing},
    {u"\u3008", u"'", Last::Opening},
    {u"\u3009", u"'", Last::Closing},
    {u"\u300C", u"\"", Last::Opening},
    {u"\u300D", u"\"", Last::Closing},
    {u"\u300E", u"'", Last::Opening},
    {u"\u300F", u"'", Last::Closing},
    {u"\u3010", u"[", Last::Opening},
    {u"\u3011", u"]", Last::Closing},
    {u"\u3000", u" ", Last::Other},
    {u"\u201C", u"\"", Last::Opening, true},
    {u"\u201D", u"\"", Last::Closing, true},
    {u"\u2018", u"'", Last::Opening, true},
    {u"\u2019", u"'", Last::Closing, true},
    {u"\u2026\u2026", u"...", Last::Closing, true},
}};

bool isHighSurrogate(char16_t unit) {
    return unit >= 0xD800 && unit < 0xDC00;
}

// The code point at `at` and how many units it takes.
std::pair<char32_t, std::size_t> codePointAt(std::u16string_view text, std::size_t at) {
    if (isHighSurrogate(text[at]) && at + 1 < text.size() && text[at + 1] >= 0xDC00 &&
        text[at + 1] < 0xE000)
        return {0x10000 + (char32_t(text[at] - 0xD800) << 10) + (text[at + 1] - 0xDC00), 2};
    return {text[at], 1};
}

const Punctuation* markAt(std::u16string_view text, std::size_t at) {
    for (const Punctuation& mark : punctuation) {
        if (text.substr(at).starts_with(mark.chinese))
            return &mark;
    }
    return nullptr;
}

bool isChinese(std::u16string_view text, std::size_t at) {
    if (at >= text.size())
        return false;
    const Punctuation* mark = markAt(text, at);
    return HanziPinyin::isHan(codePointAt(text, at).first) || (mark && !mark->onlyBesideChinese);
}

bool isChineseBefore(std::u16string_view text, std::size_t at) {
    if (at == 0)
        return false;
    const std::size_t start = at >= 2 && isHighSurrogate(text[at - 2]) ? at - 2 : at - 1;
    return isChinese(text, start);
}

const Punctuation* punctuationAt(std::u16string_view text, std::size_t at) {
    const Punctuation* mark = markAt(text, at);
    if (mark && mark->onlyBesideChinese && !isChineseBefore(text, at) &&
        !isChinese(text, at + mark->chinese.size()))
        return nullptr;
    return mark;
}

class Writer {
  public:
    explicit Writer(std::size_t size) { text_.reserve(size * 3); }

    void word(std::u16string_view written) {
        spaceAfter({Last::Word, Last::Pinyin, Last::Closing});
        text_ += written;
        last_ = Last::Pinyin;
    }
    void mark(const Punctuation& mark) {
        if (mark.kind == Last::Opening)
            spaceAfter({Last::Word, Last::Pinyin, Last::Closing});
        text_ += mark.latin;
        last_ = mark.kind;
    }
    void other(char16_t unit) {
        const bool word = isWordCharacter(unit);
        if (word)
            spaceAfter({Last::Pinyin, Last::Closing});
        text_ += unit;
        last_ = word ? Last::Word : Last::Other;
    }
    std::u16string take() { return std::move(text_); }

  private:
    void spaceAfter(std::initializer_list<Last> kinds) {
        if (std::ranges::find(kinds, last_) != kinds.end())
            text_ += u' ';
    }

    std::u16string text_;
    Last last_ = Last::Nothing;
};

// A word's syllables in numbered pinyin, then written with their tones.
std::u16string written(const HanziTable& table, const HanziTable::Word& word) {
    std::u16string numbered;
    for (std::size_t i = 0; i < word.length; ++i) {
        const std::string_view syllable = table.syllable(word, i);
        if (i > 0 && syllable == "r5") {
            numbered += u'r';
            continue;
        }
        if (i > 0 &&
            std::u16string_view(u"aoe").find(char16_t(syllable[0])) != std::u16string_view::npos)
            numbered += u'\'';
        numbered.append(syllable.begin(), syllable.end());
    }
    return NumberedPinyin::convert(numbered);
}

// The run of Chinese characters from `at`; returns where it ends.
std::size_t convertRun(std::u16string_view text, std::size_t at, const HanziTable& table,
                       Writer& out) {
    std::u32string run;
    std::vector<std::size_t> starts;
    while (at < text.size()) {
        const auto [c, units] = codePointAt(text, at);
        if (!HanziPinyin::isHan(c))
            break;
        run.push_back(c);
        starts.push_back(at);
        at += units;
    }
    starts.push_back(at);
    for (std::size_t i = 0; i < run.size();) {
        const auto word = table.longestWord(std::u32string_view(run).substr(i));
        const std::size_t length = word ? word->length : 1;
        out.word(word ? written(table, *word)
                      : std::u16string(text.substr(starts[i], starts[i + 1] - starts[i])));
        i += length;
    }
    return at;
}

} // namespace

bool HanziPinyin::isHan(char32_t c) {
    return c == 0x3007 || (c >= 0x3400 && c <= 0x4DBF) || (c >= 0x4E00 && c <= 0x9FFF) ||
           (c >= 0xF900 && c <= 0xFAFF) || (c >= 0x20000 && c <= 0x2FA1F) ||
           (c >= 0x30000 && c <= 0x323AF);
}

std::vector<std::string> HanziPinyin::syllables(std::u32string_view run, const HanziTable& table) {
    std::vector<std::string> found;
    while (found.size() < run.size()) {
        const auto word = table.longestWord(run.substr(found.size()));
        for (std::size_t i = 0; i < (word ? word->length : 1); ++i)
            found.emplace_back(word ? table.syllable(*word, i) : std::string_view());
    }
    return found;
}

std::u16string HanziPinyin::convert(std::u16string_view text, const HanziTable& table) {
    Writer out(text.size());
    for (std::size_t at = 0; at < text.size();) {
        if (isHan(codePointAt(text, at).first)) {
            at = convertRun(text, at, table, out);
        } else if (const Punctuation* mark = punctuationAt(text, at)) {
            out.mark(*mark);
            at += mark->chinese.size();
        } else {
            out.other(text[at++]);
        }
    }
    return out.take();
}

} // namespace tone
