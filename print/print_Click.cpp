#include "print_Click.h"

#include "EditorPrint.h"

#include <QPrinter>
#include <QPrinterInfo>

namespace print {

void print_Click(const QString& editorText) {
    if (QPrinterInfo::defaultPrinterName().isEmpty())
        return;
    const QPrinterInfo defaultPrinter = QPrinterInfo::defaultPrinter();
    if (defaultPrinter.isNull())
        return;
    QPrinter printer(defaultPrinter, QPrinter::HighResolution);
    printEditorText(printer, editorText);
}

} // namespace print
