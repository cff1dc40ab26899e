#pragma once

class QPrinter;
class QString;

namespace print {

// Prints the editor's plain text, as QPlainTextEdit gives it, on `printer` with the word
// wrapping of the "Print text" command. False when the printer could not be painted on.
bool printEditorText(QPrinter& printer, const QString& editorText);

// The same printout into a PDF file at `pdfPath`. False when the file could not be started.
bool printEditorTextToPdf(const QString& editorText, const QString& pdfPath);

} // namespace print
