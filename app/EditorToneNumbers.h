#pragma once

#include <functional>
#include <string>
#include <string_view>

class QPlainTextEdit;
class QString;

// Tone numbers written after the syllable ("hao3"), turned into tone glyphs in the editor, and
// back. Each conversion is one edit of its own, so that one Undo brings back the text as it was
// written; one that changes nothing adds no undo step.
class EditorToneNumbers {
  public:
    // After `typed` has gone into the editor ending at the caret: each tone digit in it acts on
    // the syllable before it. Reads only a few characters before each digit.
    static void typed(QPlainTextEdit& editor, const QString& typed);

    // The selection, or the whole text when nothing is selected.
    static void convert(QPlainTextEdit& editor);
    // Back: each syllable with a tone mark gets its tone number after it, in the selection or
    // the whole text.
    static void toNumbers(QPlainTextEdit& editor);

    using Conversion = std::function<std::u16string(std::u16string_view)>;
    // The selection, or the whole text, through `conversion`, as one undo step that keeps the
    // selection selected. `changes`, where there is one, tells quickly whether `conversion` would
    // change the text.
    static void convertWith(QPlainTextEdit& editor, const Conversion& conversion,
                            bool (*changes)(std::u16string_view) = nullptr);
};
