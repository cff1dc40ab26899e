#include "EditorPrint.h"

#include "LineBreaks.h"
#include "PrintJob.h"
#include "QtPrinterSurface.h"

#include <QPrinter>

namespace print {

bool printEditorText(QPrinter& printer, const QString& editorText) {
    QtPrinterSurface surface(printer);
    PrintJob(surface).run(toCrLf(editorText));
    return surface.started();
}

bool printEditorTextToPdf(const QString& editorText, const QString& pdfPath) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdfPath);
    return printEditorText(printer, editorText);
}

} // namespace print
