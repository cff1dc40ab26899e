#pragma once

class QString;

namespace print {

// The menu command "Print text": prints the editor's text on the system's default printer in the
// tone font at 12 points. Asks nothing and reports nothing; without a default printer it returns
// at once.
void print_Click(const QString& editorText);

} // namespace print
