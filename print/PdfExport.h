#pragma once

#include <QByteArray>
#include <QPageLayout>
#include <QPageSize>
#include <QString>

namespace print {

// "Export as PDF…": the printout of "Print text", with its wrapping, margins and size, as a PDF
// whose text layer reads as standard Unicode pinyin. It is drawn in DejaVu Serif, whose outlines
// the tone font's letters are made from, so the page looks like the printout while a reader
// copies and searches real tone letters.
class PdfExport {
  public:
    static constexpr const char* fontFace = "DejaVu Serif";
    // QPrinter::HighResolution's, as "Print text" asks for it.
    static constexpr int printoutResolution = 1200;

    // A4, or Letter where the locale measures in inches.
    static QPageSize localePaper();

    // The page a printout to PDF has on that paper, its margins included.
    static QPageLayout printoutLayout(const QPageSize& paper);

    // The PDF of the editor's text, as QPlainTextEdit gives it; empty when it could not be made.
    static QByteArray pdfOf(const QString& editorText, const QPageSize& paper = localePaper());
};

} // namespace print
