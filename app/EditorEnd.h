#pragma once

#include "tone/ReplacementTick.h"

#include <string>

class QPlainTextEdit;

// The end of the editor's text as the tone-mark core sees it, where every line break counts as
// the two characters CR LF. Reads and edits only the end, so a tick costs the same however long
// the text is.
class EditorEnd {
  public:
    static std::u16string lastUnits(const QPlainTextEdit& editor, int count);
    static void apply(QPlainTextEdit& editor, const tone::EndEdit& edit);
    static void moveCaretToEnd(QPlainTextEdit& editor);
};
