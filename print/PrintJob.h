#pragma once

#include <QString>
#include <QStringView>

namespace print {

class PrinterSurface;

// Prints a text on a printer with its own word wrapping: lines end at each CR LF, words end after
// each blank, and a word that would run past the right edge moves to the next line. A step the
// printer fails is skipped; a test that cannot be made counts as holding.
class PrintJob {
  public:
    static constexpr float fontPoints = 12.0f;

    // In the tone font unless `fontFace` names another.
    explicit PrintJob(PrinterSurface& printer, QString fontFace = toneFace());

    // `text` has its line breaks as CR LF; a lone CR or LF is an ordinary character.
    void run(QStringView text);

  private:
    static QString toneFace();
    void setUpFont();
    void printLine(QStringView line);
    void printWord(QStringView word);
    bool wordFits(QStringView word) const;
    bool pageIsFull() const;

    PrinterSurface& printer_;
    QString fontFace_;
};

} // namespace print
