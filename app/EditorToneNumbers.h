#pragma once

class QPlainTextEdit;
class QString;

// Tone numbers written after the syllable ("hao3"), turned into tone glyphs in the editor. Each
// conversion is one edit of its own, so that one Undo brings back the text as it was written.
class EditorToneNumbers {
  public:
    // After `typed` has gone into the editor ending at the caret: each tone digit in it acts on
    // the syllable before it. Reads only a few characters before each digit.
    static void typed(QPlainTextEdit& editor, const QString& typed);

    // The selection, or the whole text when nothing is selected.
    static void convert(QPlainTextEdit& editor);
};
