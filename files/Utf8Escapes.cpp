#include "Utf8Escapes.h"

#include <QStringDecoder>

namespace files {

namespace {

constexpr char16_t escapeBase = 0xDC00;
constexpr char16_t replacement = 0xFFFD;

bool isContinuation(unsigned char byte) {
    return (byte & 0xC0) == 0x80;
}

// The length of the valid UTF-8 sequence that starts `bytes`, or 0: overlong forms, surrogates and
// codes past U+10FFFF are not valid, by the second byte's range after each lead byte.
int sequenceLength(const unsigned char* bytes, qsizetype left) {
    const unsigned char lead = bytes[0];
    const int length = lead < 0x80   ? 1
                       : lead < 0xC2 ? 0
                       : lead < 0xE0 ? 2
                       : lead < 0xF0 ? 3
                       : lead < 0xF5 ? 4
                                     : 0;
    if (length <= 1 || left < length)
        return length == 1 ? 1 : 0;
    const unsigned char second = bytes[1];
    const unsigned char low = lead == 0xE0 ? 0xA0 : lead == 0xF0 ? 0x90 : 0x80;
    const unsigned char high = lead == 0xED ? 0x9F : lead == 0xF4 ? 0x8F : 0xBF;
    if (second < low || second > high)
        return 0;
    for (int at = 2; at < length; ++at) {
        if (!isContinuation(bytes[at]))
            return 0;
    }
    return length;
}

// Where a lone surrogate sits in `text`, or -1.
qsizetype firstLoneSurrogate(QStringView text) {
    for (qsizetype at = 0; at < text.size(); ++at) {
        const QChar c = text[at];
        if (c.isHighSurrogate() && at + 1 < text.size() && text[at + 1].isLowSurrogate())
            ++at;
        else if (c.isSurrogate())
            return at;
    }
    return -1;
}

bool isEscape(QChar c) {
    return c.unicode() >= escapeBase + 0x80 && c.unicode() <= escapeBase + 0xFF;
}

} // namespace

EscapedText Utf8Escapes::decode(QByteArrayView bytes) {
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString valid = utf8(bytes);
    if (!utf8.hasError())
        return {valid};
    EscapedText decoded;
    decoded.text.reserve(bytes.size());
    const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
    qsizetype run = 0; // where the valid bytes not yet decoded start
    for (qsizetype at = 0; at < bytes.size();) {
        const int length = sequenceLength(data + at, bytes.size() - at);
        if (length > 0) {
            decoded.multiByteCharacters += length > 1 ? 1 : 0;
            at += length;
            continue;
        }
        decoded.text += QString::fromUtf8(bytes.sliced(run, at - run));
        decoded.text += QChar(escapeBase + data[at]);
        ++decoded.strayBytes;
        run = ++at;
    }
    decoded.text += QString::fromUtf8(bytes.sliced(run));
    return decoded;
}

QByteArray Utf8Escapes::encode(QStringView text) {
    qsizetype lone = firstLoneSurrogate(text);
    if (lone < 0)
        return text.toUtf8();
    QByteArray bytes = text.first(lone).toUtf8();
    bytes.reserve(text.size() * 3 / 2);
    while (lone >= 0) {
        const QChar c = text[lone];
        bytes += isEscape(c) ? QByteArray(1, char(c.unicode() - escapeBase))
                             : QStringView(&replacement, 1).toUtf8();
        text = text.sliced(lone + 1);
        lone = firstLoneSurrogate(text);
        bytes += text.first(lone < 0 ? text.size() : lone).toUtf8();
    }
    return bytes;
}

QString Utf8Escapes::forCopy(QString text) {
    for (qsizetype at = firstLoneSurrogate(text); at >= 0;) {
        text[at] = QChar(replacement);
        const qsizetype next = firstLoneSurrogate(QStringView(text).sliced(at + 1));
        at = next < 0 ? -1 : at + 1 + next;
    }
    return text;
}

qsizetype Utf8Escapes::characterCount(QStringView text) {
    qsizetype count = text.size();
    for (qsizetype at = 1; at < text.size(); ++at)
        count -= text[at].isLowSurrogate() && text[at - 1].isHighSurrogate() ? 1 : 0;
    return count;
}

} // namespace files
