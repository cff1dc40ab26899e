#pragma once

#include "files/PinyinFormat.h"

#include <QObject>
#include <QString>

#include <functional>

class EditorMirror;
class QMainWindow;
class QMenuBar;
class QPlainTextEdit;
class RecoveryKeeper;

// The file behind the editor's text: the "File" menu, the window title, the question before
// unsaved changes are set aside, and the recovery of text that was never saved.
class DocumentFile : public QObject {
    Q_OBJECT

  public:
    // `replaced` runs after the editor's whole text was replaced.
    DocumentFile(QMainWindow& window, QPlainTextEdit& editor, std::function<void()> replaced,
                 const QString& recoveryFolder);

    void addMenu(QMenuBar& menuBar);

    // At start, once the window is up: from then on unsaved text is kept for recovery. Offers text
    // left behind by a crash, then opens `commandLineFile` unless that text was restored. A file
    // that does not exist yet becomes the name to save to; a name that lost bytes on its way in
    // (`nameKept` false) is refused.
    void start(const QString& commandLineFile, bool nameKept = true);

    // Each shows its own message when it fails and then leaves the editor's text as it was.
    bool openFile(const QString& path);
    bool saveTo(const QString& path);
    bool save();
    // The printout as a PDF file, written as safely as a text file.
    bool exportPdfTo(const QString& path);

    // Asks whether to save unsaved changes; false when the user cancels or the save fails.
    bool maySetAsideChanges();
    // The window closes with nothing left unsaved.
    void closeClean();

    QString path() const { return path_; }
    // The editor's text, kept edit by edit.
    const EditorMirror& mirror() const { return *mirror_; }

  private:
    void open();
    bool saveAs();
    void exportPdf();
    void tellHowRead(const files::DecodedText& content);
    void show(const QString& text, const QString& path, bool modified);
    void setPath(const QString& path);
    QString displayName() const;
    void warn(const QString& text);

    QMainWindow& window_;
    QPlainTextEdit& editor_;
    std::function<void()> replaced_;
    EditorMirror* mirror_;
    RecoveryKeeper* recovery_;
    QString path_;
    files::FileFormat format_;
};
