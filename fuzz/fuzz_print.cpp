// Any text printed with the editor's word wrapping on a page of any size, with printer steps
// failing as the input chooses: nothing is lost and every word ends where the rules end it.
#include "FuzzInput.h"
#include "WordSurface.h"
#include "print/LineBreaks.h"
#include "print/PrintJob.h"

#include <QString>

#include <algorithm>

namespace {

constexpr QStringView lineBreak = u"\r\n";
constexpr qsizetype longText = 32 * 1024;

QString textOf(std::string_view bytes, std::uint8_t how) {
    QString text = how & 4 ? QString::fromUtf16(reinterpret_cast<const char16_t*>(bytes.data()),
                                                qsizetype(bytes.size() / 2))
                           : QString::fromLatin1(bytes.data(), qsizetype(bytes.size()));
    if (how & 8)
        text = print::toCrLf(text);
    // A long text from a short input, to show that the walk stays linear.
    if (how & 16 && !text.isEmpty())
        text = text.repeated(longText / text.size() + 1);
    return text;
}

void chooseFailures(fuzz::ByteReader& input, WordSurface& printer, int count) {
    for (int i = 0; i < count; ++i) {
        const std::uint8_t operation = input.byte();
        printer.failEvery(WordSurface::Operation(operation % WordSurface::operationCount),
                          1 + input.byte() % 8);
    }
}

// Walks the text along the printed words: each is the next piece of the text, holds no line
// break, and ends in its only blank or at a line's end; line breaks between them are skipped.
void walkWords(QStringView text, const std::vector<QString>& words) {
    qsizetype at = 0;
    const auto skipLineBreaks = [&] {
        while (text.sliced(at).startsWith(lineBreak))
            at += lineBreak.size();
    };
    skipLineBreaks();
    for (const QString& word : words) {
        fuzz::require(!word.isEmpty(), "no empty word is printed");
        fuzz::require(text.sliced(at).startsWith(word), "words come in the text's order");
        fuzz::require(!word.contains(lineBreak), "a word holds no line break");
        const qsizetype blank = word.indexOf(u' ');
        fuzz::require(blank < 0 || blank == word.size() - 1, "a blank ends its word");
        at += word.size();
        const bool lineEnds = at == text.size() || text.sliced(at).startsWith(lineBreak);
        fuzz::require(blank >= 0 || lineEnds, "a word without blank ends its line");
        skipLineBreaks();
    }
    fuzz::require(at == text.size(), "nothing of the text is lost");
}

long lineCount(QStringView text) {
    long lines = 0;
    for (qsizetype at = 0; at < text.size(); ++lines) {
        const qsizetype end = text.indexOf(lineBreak, at);
        at = end < 0 ? text.size() : end + lineBreak.size();
    }
    return lines;
}

void checkEvents(const std::vector<WordSurface::Event>& events, long lines) {
    using Event = WordSurface::Event;
    fuzz::require(!events.empty() && events.back() == Event::EndDocument,
                  "the document is ended last");
    fuzz::require(std::count(events.begin(), events.end(), Event::EndDocument) == 1,
                  "the document is ended once");
    fuzz::require(std::count(events.begin(), events.end(), Event::EndLine) >= lines,
                  "every line ends");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::ByteReader input(data, size);
    const std::uint8_t how = input.byte();
    const float width = input.u16();
    const float height = input.u16();
    WordSurface printer(width, height, 1.0f + input.byte());
    chooseFailures(input, printer, how & 3);
    const QString text = textOf(input.rest(), how);
    print::PrintJob(printer).run(text);
    walkWords(text, printer.words());
    checkEvents(printer.events(), lineCount(text));
    return 0;
}
