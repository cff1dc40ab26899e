#include "PrintJob.h"

#include "PrinterSurface.h"
#include "tone/ToneFont.h"

#include <QString>

#include <utility>

namespace print {

namespace {

constexpr QStringView lineBreak = u"\r\n";

} // namespace

PrintJob::PrintJob(PrinterSurface& printer, QString fontFace)
    : printer_(printer), fontFace_(std::move(fontFace)) {}

QString PrintJob::toneFace() {
    const std::string_view face = tone::toneFontFace;
    return QString::fromUtf8(face.data(), qsizetype(face.size()));
}

// Indices into the one text rather than copies of its rest keep the walk linear in its length.
void PrintJob::run(QStringView text) {
    setUpFont();
    qsizetype start = 0;
    while (start < text.size()) {
        const qsizetype lineEnd = text.indexOf(lineBreak, start);
        const qsizetype end = lineEnd < 0 ? text.size() : lineEnd;
        printLine(text.sliced(start, end - start));
        printer_.endLine();
        start = lineEnd < 0 ? text.size() : lineEnd + lineBreak.size();
    }
    printer_.endDocument();
}

// Size before name, as the printer applies them; the font's other attributes stay the printer's.
void PrintJob::setUpFont() {
    printer_.setFontSize(fontPoints);
    printer_.setFontName(fontFace_);
}

void PrintJob::printLine(QStringView line) {
    qsizetype start = 0;
    while (start < line.size()) {
        const qsizetype blank = line.indexOf(u' ', start);
        const qsizetype end = blank < 0 ? line.size() : blank + 1;
        printWord(line.sliced(start, end - start));
        start = end;
    }
}

void PrintJob::printWord(QStringView word) {
    if (!wordFits(word)) {
        printer_.endLine();
        if (pageIsFull())
            printer_.newPage();
    }
    printer_.print(word);
}

bool PrintJob::wordFits(QStringView word) const {
    const auto wordWidth = printer_.textWidth(word);
    const auto x = printer_.currentX();
    const auto areaWidth = printer_.width();
    if (!wordWidth || !x || !areaWidth)
        return true;
    const float lineEnd = *x + *wordWidth;
    return *areaWidth >= lineEnd;
}

// Adds points to twips, so a page is full only when less than a dozen twips remain below.
bool PrintJob::pageIsFull() const {
    const auto points = printer_.fontSize();
    const auto y = printer_.currentY();
    const auto areaHeight = printer_.height();
    if (!points || !y || !areaHeight)
        return true;
    return *y + *points > *areaHeight;
}

} // namespace print
