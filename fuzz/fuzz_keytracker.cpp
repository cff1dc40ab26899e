// Keys typed at the end of the editor's text and replacement ticks, in any order, through the
// core and through the separately written model; any difference aborts.
#include "FuzzInput.h"
#include "ToneModel.h"
#include "tone/KeyTracker.h"
#include "tone/ReplacementTick.h"

#include <algorithm>
#include <array>
#include <optional>
#include <string>

namespace {

// The keys the rules single out, with a few of their neighbours, so that short inputs reach every
// branch; raw 16-bit codes cover the rest.
constexpr std::array<char16_t, 30> namedKeys{
    u'a', u'e', u'o', u'i', u'u', u'y', u'A', u'E', u'I', u'U', u'O',  u'1', u'2', u'3',   u'4',
    u'0', u'5', u'9', u'Y', u'v', u'b', u' ', 8,    13,   22,   u'\n', 0,    0xE1, 0x2615, 0xFFFF,
};

bool sameEdit(const std::optional<tone::EndEdit>& core,
              const std::optional<fuzz::ToneModel::Edit>& model) {
    if (!core || !model)
        return !core && !model;
    return std::size_t(core->removeUnits) == model->removeUnits && core->glyph == model->glyph;
}

bool sameEdit(const std::optional<tone::EndEdit>& a, const std::optional<tone::EndEdit>& b) {
    if (!a || !b)
        return !a && !b;
    return a->removeUnits == b->removeUnits && a->glyph == b->glyph;
}

std::u16string_view lastUnits(std::u16string_view text, std::size_t count) {
    return text.substr(text.size() - std::min(count, text.size()));
}

bool isPair(char16_t first, char16_t second) {
    return (first == u'\r' && second == u'\n') ||
           ((first & 0xFC00) == 0xD800 && (second & 0xFC00) == 0xDC00);
}

class Session {
  public:
    void step(fuzz::ByteReader& input);

  private:
    void type(std::int16_t key);
    void typeCodePoint(char32_t codePoint);
    void insert(std::int16_t key);
    void tick(int row);
    void editAside(fuzz::ByteReader& input);
    void checkState() const;

    tone::KeyTracker core_;
    fuzz::ToneModel model_;
    std::u16string text_;
};

void Session::step(fuzz::ByteReader& input) {
    const std::uint8_t op = input.byte();
    switch (op % 8) {
    case 0:
    case 1:
    case 2:
        return type(std::int16_t(namedKeys[input.byte() % namedKeys.size()]));
    case 3:
        return type(std::int16_t(input.u16()));
    case 4:
        return typeCodePoint(0x10000 + (input.u16() | (op >> 4) << 16));
    case 5:
    case 6:
        return tick(1 + input.byte() % 11);
    default:
        return editAside(input);
    }
}

void Session::type(std::int16_t key) {
    const int coreTimer = core_.keyPress(key);
    const int modelTimer = model_.keyPress(key);
    fuzz::require(coreTimer == modelTimer, "a key arms the timer of the pending vowel's row");
    checkState();
    insert(key);
}

// As the editor hands them over: the high then the low surrogate, each a key of its own.
void Session::typeCodePoint(char32_t codePoint) {
    const char32_t offset = codePoint - 0x10000;
    type(std::int16_t(0xD800 + (offset >> 10)));
    type(std::int16_t(0xDC00 + (offset & 0x3FF)));
}

// What the editor does with the character once the tracker has seen it.
void Session::insert(std::int16_t key) {
    const auto unit = static_cast<char16_t>(key);
    if (unit == 8) {
        const std::size_t n = text_.size();
        text_.resize(n >= 2 && isPair(text_[n - 2], text_[n - 1]) ? n - 2 : (n ? n - 1 : 0));
    } else if (unit == 13) {
        text_ += u"\r\n";
    } else {
        text_ += unit;
    }
}

void Session::tick(int row) {
    tone::KeyTracker wholeTextCore = core_;
    const std::u16string_view text = text_;
    const auto fromEnd = tone::replacementTick(core_, row, lastUnits(text, 3));
    const auto fromWhole = tone::replacementTick(wholeTextCore, row, text);
    const auto expected = model_.tick(row, text);
    fuzz::require(sameEdit(fromEnd, fromWhole), "the last three units decide as the whole text");
    fuzz::require(sameEdit(fromEnd, expected), "the tick replaces as the rules say");
    fuzz::require(wholeTextCore.pendingVowel() == 0, "a tick forgets the pending vowel");
    checkState();
    if (!fromEnd)
        return;
    fuzz::require(fromEnd->removeUnits >= 0 && std::size_t(fromEnd->removeUnits) <= text_.size(),
                  "a tick removes no more than the text holds");
    text_.resize(text_.size() - std::size_t(fromEnd->removeUnits));
    text_ += fromEnd->glyph;
}

// Changes that never reach the tracker: mouse edits, Delete, pasting.
void Session::editAside(fuzz::ByteReader& input) {
    const std::uint8_t how = input.byte();
    switch (how % 6) {
    case 0:
        text_.resize(text_.size() - std::min<std::size_t>(how / 6 % 4, text_.size()));
        break;
    case 1:
        text_.clear();
        break;
    case 2:
        text_ += u"\r\n";
        break;
    case 3:
        text_ += how & 0x80 ? u'\r' : u'\n';
        break;
    case 4:
        text_ += {char16_t(0xD800 + input.byte() % 0x400), char16_t(0xDC00 + input.byte())};
        break;
    default:
        text_ += char16_t(input.u16());
    }
}

void Session::checkState() const {
    fuzz::require(core_.pendingVowel() == model_.pendingVowel(), "pending vowels agree");
    fuzz::require(core_.lastKey() == model_.lastKey(), "last keys agree");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::ByteReader input(data, size);
    Session session;
    while (!input.empty())
        session.step(input);
    return 0;
}
