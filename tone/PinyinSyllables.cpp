#include "PinyinSyllables.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace tone {

namespace {

using namespace std::string_view_literals;

// r alone stands for the erhua that dictionaries write as a syllable of its own.
constexpr auto syllables = std::to_array<std::string_view>({
    "a"sv,     "ai"sv,     "an"sv,    "ang"sv,   "ao"sv,     "ba"sv,    "bai"sv,   "ban"sv,
    "bang"sv,  "bao"sv,    "bei"sv,   "ben"sv,   "beng"sv,   "bi"sv,    "bian"sv,  "biao"sv,
    "bie"sv,   "bin"sv,    "bing"sv,  "bo"sv,    "bu"sv,     "ca"sv,    "cai"sv,   "can"sv,
    "cang"sv,  "cao"sv,    "ce"sv,    "cen"sv,   "ceng"sv,   "cha"sv,   "chai"sv,  "chan"sv,
    "chang"sv, "chao"sv,   "che"sv,   "chen"sv,  "cheng"sv,  "chi"sv,   "chong"sv, "chou"sv,
    "chu"sv,   "chua"sv,   "chuai"sv, "chuan"sv, "chuang"sv, "chui"sv,  "chun"sv,  "chuo"sv,
    "ci"sv,    "cong"sv,   "cou"sv,   "cu"sv,    "cuan"sv,   "cui"sv,   "cun"sv,   "cuo"sv,
    "da"sv,    "dai"sv,    "dan"sv,   "dang"sv,  "dao"sv,    "de"sv,    "dei"sv,   "den"sv,
    "deng"sv,  "di"sv,     "dia"sv,   "dian"sv,  "diao"sv,   "die"sv,   "ding"sv,  "diu"sv,
    "dong"sv,  "dou"sv,    "du"sv,    "duan"sv,  "dui"sv,    "dun"sv,   "duo"sv,   "e"sv,
    "ei"sv,    "en"sv,     "eng"sv,   "er"sv,    "fa"sv,     "fan"sv,   "fang"sv,  "fei"sv,
    "fen"sv,   "feng"sv,   "fo"sv,    "fou"sv,   "fu"sv,     "ga"sv,    "gai"sv,   "gan"sv,
    "gang"sv,  "gao"sv,    "ge"sv,    "gei"sv,   "gen"sv,    "geng"sv,  "gong"sv,  "gou"sv,
    "gu"sv,    "gua"sv,    "guai"sv,  "guan"sv,  "guang"sv,  "gui"sv,   "gun"sv,   "guo"sv,
    "ha"sv,    "hai"sv,    "han"sv,   "hang"sv,  "hao"sv,    "he"sv,    "hei"sv,   "hen"sv,
    "heng"sv,  "hong"sv,   "hou"sv,   "hu"sv,    "hua"sv,    "huai"sv,  "huan"sv,  "huang"sv,
    "hui"sv,   "hun"sv,    "huo"sv,   "ji"sv,    "jia"sv,    "jian"sv,  "jiang"sv, "jiao"sv,
    "jie"sv,   "jin"sv,    "jing"sv,  "jiong"sv, "jiu"sv,    "ju"sv,    "juan"sv,  "jue"sv,
    "jun"sv,   "ka"sv,     "kai"sv,   "kan"sv,   "kang"sv,   "kao"sv,   "ke"sv,    "kei"sv,
    "ken"sv,   "keng"sv,   "kong"sv,  "kou"sv,   "ku"sv,     "kua"sv,   "kuai"sv,  "kuan"sv,
    "kuang"sv, "kui"sv,    "kun"sv,   "kuo"sv,   "la"sv,     "lai"sv,   "lan"sv,   "lang"sv,
    "lao"sv,   "le"sv,     "lei"sv,   "leng"sv,  "li"sv,     "lia"sv,   "lian"sv,  "liang"sv,
    "liao"sv,  "lie"sv,    "lin"sv,   "ling"sv,  "liu"sv,    "lo"sv,    "long"sv,  "lou"sv,
    "lu"sv,    "luan"sv,   "lun"sv,   "luo"sv,   "lv"sv,     "lve"sv,   "ma"sv,    "mai"sv,
    "man"sv,   "mang"sv,   "mao"sv,   "me"sv,    "mei"sv,    "men"sv,   "meng"sv,  "mi"sv,
    "mian"sv,  "miao"sv,   "mie"sv,   "min"sv,   "ming"sv,   "miu"sv,   "mo"sv,    "mou"sv,
    "mu"sv,    "na"sv,     "nai"sv,   "nan"sv,   "nang"sv,   "nao"sv,   "ne"sv,    "nei"sv,
    "nen"sv,   "neng"sv,   "ni"sv,    "nian"sv,  "niang"sv,  "niao"sv,  "nie"sv,   "nin"sv,
    "ning"sv,  "niu"sv,    "nong"sv,  "nou"sv,   "nu"sv,     "nuan"sv,  "nuo"sv,   "nv"sv,
    "nve"sv,   "o"sv,      "ou"sv,    "pa"sv,    "pai"sv,    "pan"sv,   "pang"sv,  "pao"sv,
    "pei"sv,   "pen"sv,    "peng"sv,  "pi"sv,    "pian"sv,   "piao"sv,  "pie"sv,   "pin"sv,
    "ping"sv,  "po"sv,     "pou"sv,   "pu"sv,    "qi"sv,     "qia"sv,   "qian"sv,  "qiang"sv,
    "qiao"sv,  "qie"sv,    "qin"sv,   "qing"sv,  "qiong"sv,  "qiu"sv,   "qu"sv,    "quan"sv,
    "que"sv,   "qun"sv,    "r"sv,     "ran"sv,   "rang"sv,   "rao"sv,   "re"sv,    "ren"sv,
    "reng"sv,  "ri"sv,     "rong"sv,  "rou"sv,   "ru"sv,     "rua"sv,   "ruan"sv,  "rui"sv,
    "run"sv,   "ruo"sv,    "sa"sv,    "sai"sv,   "san"sv,    "sang"sv,  "sao"sv,   "se"sv,
    "sen"sv,   "seng"sv,   "sha"sv,   "shai"sv,  "shan"sv,   "shang"sv, "shao"sv,  "she"sv,
    "shei"sv,  "shen"sv,   "sheng"sv, "shi"sv,   "shou"sv,   "shu"sv,   "shua"sv,  "shuai"sv,
    "shuan"sv, "shuang"sv, "shui"sv,  "shun"sv,  "shuo"sv,   "si"sv,    "song"sv,  "sou"sv,
    "su"sv,    "suan"sv,   "sui"sv,   "sun"sv,   "suo"sv,    "ta"sv,    "tai"sv,   "tan"sv,
    "tang"sv,  "tao"sv,    "te"sv,    "teng"sv,  "ti"sv,     "tian"sv,  "tiao"sv,  "tie"sv,
    "ting"sv,  "tong"sv,   "tou"sv,   "tu"sv,    "tuan"sv,   "tui"sv,   "tun"sv,   "tuo"sv,
    "wa"sv,    "wai"sv,    "wan"sv,   "wang"sv,  "wei"sv,    "wen"sv,   "weng"sv,  "wo"sv,
    "wu"sv,    "xi"sv,     "xia"sv,   "xian"sv,  "xiang"sv,  "xiao"sv,  "xie"sv,   "xin"sv,
    "xing"sv,  "xiong"sv,  "xiu"sv,   "xu"sv,    "xuan"sv,   "xue"sv,   "xun"sv,   "ya"sv,
    "yan"sv,   "yang"sv,   "yao"sv,   "ye"sv,    "yi"sv,     "yin"sv,   "ying"sv,  "yo"sv,
    "yong"sv,  "you"sv,    "yu"sv,    "yuan"sv,  "yue"sv,    "yun"sv,   "za"sv,    "zai"sv,
    "zan"sv,   "zang"sv,   "zao"sv,   "ze"sv,    "zei"sv,    "zen"sv,   "zeng"sv,  "zha"sv,
    "zhai"sv,  "zhan"sv,   "zhang"sv, "zhao"sv,  "zhe"sv,    "zhei"sv,  "zhen"sv,  "zheng"sv,
    "zhi"sv,   "zhong"sv,  "zhou"sv,  "zhu"sv,   "zhua"sv,   "zhuai"sv, "zhuan"sv, "zhuang"sv,
    "zhui"sv,  "zhun"sv,   "zhuo"sv,  "zi"sv,    "zong"sv,   "zou"sv,   "zu"sv,    "zuan"sv,
    "zui"sv,   "zun"sv,    "zuo"sv,
});

// An open-addressing hash set of the keys: a binary search's unpredictable branches would cost
// more than the rest of a conversion together.
constexpr std::size_t slotCount = 1024;

constexpr std::size_t slotOf(std::uint32_t key) {
    return (key * 2654435761u) >> 22;
}

struct Slots {
    std::array<std::uint32_t, slotCount> keys{};
    bool distinct = true;
};

constexpr Slots slots = [] {
    Slots table;
    for (const std::string_view syllable : syllables) {
        const std::uint32_t key = PinyinSyllables::keyOf(syllable);
        table.distinct = table.distinct && key != 0;
        std::size_t slot = slotOf(key);
        while (table.keys[slot] != 0) {
            table.distinct = table.distinct && table.keys[slot] != key;
            slot = (slot + 1) % slotCount;
        }
        table.keys[slot] = key;
    }
    return table;
}();

static_assert(slots.distinct, "every syllable is a distinct word of lower-case letters");
static_assert(slotOf(~std::uint32_t{0}) < slotCount && syllables.size() * 2 < slotCount);
static_assert(std::ranges::max(syllables, {}, &std::string_view::size).size() ==
              PinyinSyllables::longest);

} // namespace

std::span<const std::string_view> PinyinSyllables::all() {
    return syllables;
}

bool PinyinSyllables::containsKey(std::uint32_t key) {
    if (key == 0)
        return false;
    for (std::size_t slot = slotOf(key); slots.keys[slot] != 0; slot = (slot + 1) % slotCount) {
        if (slots.keys[slot] == key)
            return true;
    }
    return false;
}

} // namespace tone
