#include "print_Click.h"

#include "EditorPrint.h"
#include "PrintLog.h"

#include <QPrinter>
#include <QPrinterInfo>

namespace print {

void print_Click(const QString& editorText) {
    const QPrinterInfo defaultPrinter = QPrinterInfo::defaultPrinterName().isEmpty()
                                            ? QPrinterInfo()
                                            : QPrinterInfo::defaultPrinter();
    if (defaultPrinter.isNull()) {
        qCDebug(lcPrint) << "no default printer: nothing printed";
        return;
    }
    QPrinter printer(defaultPrinter, QPrinter::HighResolution);
    printEditorText(printer, editorText);
}

} // namespace print
