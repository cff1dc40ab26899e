// Chinese text of any kind converted with the built table of readings, and tables of any bytes
// read and searched: the program reads its table from a folder a user can write to.
#include "FuzzInput.h"
#include "tone/HanziPinyin.h"

#include <fstream>
#include <iterator>
#include <string>

namespace {

const tone::HanziTable& builtTable() {
    static const tone::HanziTable table = [] {
        std::ifstream file(TONQUILL_PROGRAM_DIR "/hanzi-readings.dat", std::ios::binary);
        auto parsed = tone::HanziTable::parse(
            std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()));
        fuzz::require(parsed.has_value(), "the built table reads");
        return std::move(*parsed);
    }();
    return table;
}

// Mostly Chinese characters, Chinese punctuation and the blanks and letters around them.
std::u16string chineseText(fuzz::ByteReader& input) {
    static constexpr std::u16string_view common = u"我们是朋友长大银行觉得一会儿西安重庆行了得";
    static constexpr std::u16string_view marks = u"，。、：？！“”‘’（）《》……　 aQ3\n";
    std::u16string text;
    while (!input.empty()) {
        const std::uint8_t kind = input.byte();
        if (kind < 96)
            text.push_back(common[kind % common.size()]);
        else if (kind < 160)
            text.push_back(marks[kind % marks.size()]);
        else
            text.push_back(input.u16());
    }
    return text;
}

bool hasChinese(std::u16string_view text) {
    for (const char16_t c : text) {
        if (tone::HanziPinyin::isHan(c) || (c >= 0x3000 && c <= 0x3011) || c >= 0xD800 ||
            (c >= 0x2018 && c <= 0x2026) || (c >= 0xFF01 && c <= 0xFF1F))
            return true;
    }
    return false;
}

} // namespace

// The first byte's lowest bit chooses: a text for the built table, or a table's bytes after its
// magic and version, searched for the text of the sample.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::ByteReader input(data, size);
    if ((input.byte() & 1) == 0) {
        const std::u16string text = chineseText(input);
        const std::u16string converted = tone::HanziPinyin::convert(text, builtTable());
        fuzz::require(hasChinese(text) || converted == text, "text without Chinese stays");
        return 0;
    }
    const std::string_view rest = input.rest();
    const auto table =
        tone::HanziTable::parse("TQHZ" + std::string("\1\0\0\0", 4) + std::string(rest));
    if (table) {
        tone::HanziPinyin::convert(u"我们是朋友，西安。𠀀", *table);
        tone::HanziPinyin::syllables(U"长大银行", *table);
    }
    return 0;
}
