#include "PdfExport.h"

#include "LineBreaks.h"
#include "PrintJob.h"
#include "QtPrinterSurface.h"
#include "tone/UnicodePinyin.h"

#include <QBuffer>
#include <QLocale>
#include <QPdfWriter>
#include <QPrinter>

namespace print {

QPageSize PdfExport::localePaper() {
    return QPageSize(QLocale().measurementSystem() == QLocale::MetricSystem ? QPageSize::A4
                                                                            : QPageSize::Letter);
}

// The page of a printout to PDF on that paper, margins included, so that lines break where the
// printout's do.
QPageLayout PdfExport::printoutLayout(const QPageSize& paper) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setPageSize(paper);
    return printer.pageLayout();
}

QByteArray PdfExport::pdfOf(const QString& editorText, const QPageSize& paper) {
    QBuffer pdf;
    pdf.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&pdf);
        writer.setPageSize(paper);
        writer.setResolution(printoutResolution);
        writer.setCreator(QStringLiteral("Tonquill"));
        writer.setPageLayout(printoutLayout(paper));
        const std::u16string unicode =
            tone::toUnicodePinyin({reinterpret_cast<const char16_t*>(editorText.utf16()),
                                   std::size_t(editorText.size())});
        QtPrinterSurface surface(writer);
        PrintJob(surface, QString::fromLatin1(fontFace))
            .run(toCrLf(QString::fromStdU16String(unicode)));
        if (!surface.started())
            return {};
    }
    return pdf.data();
}

} // namespace print
