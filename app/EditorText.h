#pragma once

class QPlainTextEdit;
class QString;

// The editor's characters as they are, for every road by which text leaves the program (printing,
// the Unicode copy, saving). Qt's plain-text export turns a no-break space into a plain one, which
// would let the word wrapping break where the writer asked it not to.
class EditorText {
  public:
    // The whole text, with line breaks as LF.
    static QString all(const QPlainTextEdit& editor);
    // The selection, or the whole text when nothing is selected, with line breaks as LF.
    static QString selectionOrAll(const QPlainTextEdit& editor);
    // `text` with the document's own separators as LF.
    static QString lineFeeds(QString text);
    // The characters from position `from` up to `to`, with line breaks as LF.
    static QString between(const QPlainTextEdit& editor, int from, int to);
    // Text to put in, without U+0000: Open refuses a file with NUL bytes, so a text that held one
    // could be saved but never opened again.
    static QString withoutNul(QString text);
};
