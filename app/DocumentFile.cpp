#include "DocumentFile.h"

#include "EditorEnd.h"
#include "EditorMirror.h"
#include "EditorText.h"
#include "FormDesign.h"
#include "RecoveryKeeper.h"
#include "files/FilesLog.h"
#include "files/PinyinFile.h"
#include "files/SafeSave.h"
#include "print/PdfExport.h"

#include <QAction>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMainWindow>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>

DocumentFile::DocumentFile(QMainWindow& window, QPlainTextEdit& editor,
                           std::function<void()> replaced, const QString& recoveryFolder)
    : QObject(&window), window_(window), editor_(editor), replaced_(std::move(replaced)),
      mirror_(new EditorMirror(editor)), recovery_(new RecoveryKeeper(
                                             window, editor, *mirror_,
                                             [this] {
                                                 return files::DocumentOnDisk{path_, format_};
                                             },
                                             recoveryFolder)) {
    connect(editor_.document(), &QTextDocument::modificationChanged, &window_,
            &QWidget::setWindowModified);
    setPath({});
}

void DocumentFile::addMenu(QMenuBar& menuBar) {
    QMenu* menu = menuBar.addMenu(tr("File"));
    menu->setObjectName("file");
    const auto add = [this, menu](const char* name, const QString& text, QKeySequence keys,
                                  auto handler) {
        QAction* action = menu->addAction(text);
        action->setObjectName(name);
        action->setShortcut(keys);
        connect(action, &QAction::triggered, this, handler);
    };
    add("fileOpen", tr("Open…"), QKeySequence(Qt::CTRL | Qt::Key_O), [this] { open(); });
    add("fileSave", tr("Save"), QKeySequence(Qt::CTRL | Qt::Key_S), [this] { save(); });
    add("fileSaveAs", tr("Save As…"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S),
        [this] { saveAs(); });
    add("fileExportPdf", tr("Export as PDF…"), QKeySequence(), [this] { exportPdf(); });
    menu->addSeparator();
    add("fileQuit", tr("Quit"), QKeySequence(Qt::CTRL | Qt::Key_Q), [this] { window_.close(); });
}

void DocumentFile::start(const QString& commandLineFile, bool nameKept) {
    if (const auto restored = recovery_->offer()) {
        show(restored->text, restored->documentPath, true);
        format_ = restored->format;
        return;
    }
    if (commandLineFile.isEmpty())
        return;
    if (!nameKept) {
        warn(tr("Tonquill cannot open %1: its name holds bytes that are not UTF-8, which Tonquill "
                "cannot keep. Rename the file, then open it again.")
                 .arg(QDir::toNativeSeparators(commandLineFile)));
        return;
    }
    if (QFileInfo::exists(commandLineFile) || QFileInfo(commandLineFile).isSymLink())
        openFile(commandLineFile);
    else
        setPath(commandLineFile);
}

void DocumentFile::open() {
    if (!maySetAsideChanges())
        return;
    const QString folder = path_.isEmpty() ? QDir::homePath() : QFileInfo(path_).path();
    const QString path = QFileDialog::getOpenFileName(&window_, tr("Open"), folder,
                                                      tr("Text files (*.txt);;All files (*)"));
    if (!path.isEmpty())
        openFile(path);
}

bool DocumentFile::openFile(const QString& path) {
    const files::OpenedFile opened = files::PinyinFile::open(path);
    if (!opened.refusal.isEmpty()) {
        qCDebug(lcFiles) << "open refused:" << path << opened.refusal;
        warn(
            tr("Tonquill cannot open %1: %2.").arg(QDir::toNativeSeparators(path), opened.refusal));
        return false;
    }
    recovery_->drop();
    show(opened.content.text, path, false);
    format_ = opened.content.format;
    tellHowRead(opened.content);
    return true;
}

void DocumentFile::tellHowRead(const files::DecodedText& content) {
    const QString name = displayName();
    if (content.windows1252) {
        warn(tr("%1 is not UTF-8. Tonquill read it as an older tone-font file in Windows-1252; "
                "Save will write it as UTF-8 in standard Unicode pinyin.")
                 .arg(name));
    }
    if (content.strayBytes > 0) {
        warn(tr("%1 holds %n byte(s) that are not UTF-8. Tonquill keeps them as they are and "
                "saves them back unchanged.",
                nullptr, int(content.strayBytes))
                 .arg(name));
    }
    if (!content.lookalikeSigns.isEmpty()) {
        warn(tr("%1 holds the signs %2, which share their codes with tone letters: Tonquill "
                "shows them, and saves them, as tone letters.")
                 .arg(name, content.lookalikeSigns));
    }
}

bool DocumentFile::save() {
    return path_.isEmpty() ? saveAs() : saveTo(path_);
}

bool DocumentFile::saveAs() {
    const QString suggestion =
        path_.isEmpty() ? QDir::homePath() + '/' + displayName() + ".txt" : path_;
    const QString path = QFileDialog::getSaveFileName(&window_, tr("Save As"), suggestion,
                                                      tr("Text files (*.txt);;All files (*)"));
    return !path.isEmpty() && saveTo(path);
}

bool DocumentFile::saveTo(const QString& path) {
    const QString failure = files::PinyinFile::save(path, EditorText::all(editor_), format_);
    if (!failure.isEmpty()) {
        qCDebug(lcFiles) << "save failed:" << path << failure;
        warn(tr("Tonquill cannot save %1: %2.").arg(QDir::toNativeSeparators(path), failure));
        return false;
    }
    editor_.document()->setModified(false);
    recovery_->drop();
    setPath(path);
    return true;
}

void DocumentFile::exportPdf() {
    const QString folder = path_.isEmpty() ? QDir::homePath() : QFileInfo(path_).path();
    const QString suggestion = folder + '/' + QFileInfo(displayName()).completeBaseName() + ".pdf";
    const QString path = QFileDialog::getSaveFileName(&window_, tr("Export as PDF"), suggestion,
                                                      tr("PDF files (*.pdf);;All files (*)"));
    if (!path.isEmpty())
        exportPdfTo(path);
}

// The editor's text, whether or not the help is shown in its place.
bool DocumentFile::exportPdfTo(const QString& path) {
    const QByteArray pdf = print::PdfExport::pdfOf(EditorText::all(editor_));
    const QString failure =
        pdf.isEmpty() ? tr("the PDF could not be made") : files::SafeSave::write(path, pdf);
    if (failure.isEmpty())
        return true;
    qCDebug(lcFiles) << "export failed:" << path << failure;
    warn(tr("Tonquill cannot export %1: %2.").arg(QDir::toNativeSeparators(path), failure));
    return false;
}

bool DocumentFile::maySetAsideChanges() {
    if (!editor_.document()->isModified())
        return true;
    QMessageBox box(QMessageBox::Warning, FormDesign::translated(FormDesign::caption),
                    tr("Save changes to %1?").arg(displayName()),
                    QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, &window_);
    box.setDefaultButton(QMessageBox::Save);
    box.setEscapeButton(QMessageBox::Cancel);
    switch (box.exec()) {
    case QMessageBox::Save:
        return save();
    case QMessageBox::Discard:
        // The recovery file goes once the text is replaced or the window closes: Open may still
        // be cancelled, or refuse the file.
        return true;
    default:
        return false;
    }
}

void DocumentFile::closeClean() {
    recovery_->drop();
    recovery_->finish();
}

void DocumentFile::show(const QString& text, const QString& path, bool modified) {
    mirror_->setPlainText(EditorText::withoutNul(text));
    editor_.document()->setModified(modified);
    EditorEnd::moveCaretToEnd(editor_);
    setPath(path);
    replaced_();
}

void DocumentFile::setPath(const QString& path) {
    path_ = path.isEmpty() ? QString() : QFileInfo(path).absoluteFilePath();
    const QString caption = FormDesign::translated(FormDesign::caption);
    window_.setWindowTitle(path_.isEmpty() ? caption + "[*]"
                                           : tr("%1[*] – %2").arg(displayName(), caption));
    window_.setWindowModified(editor_.document()->isModified());
}

QString DocumentFile::displayName() const {
    return path_.isEmpty() ? tr("Untitled") : QFileInfo(path_).fileName();
}

void DocumentFile::warn(const QString& text) {
    QMessageBox::warning(&window_, FormDesign::translated(FormDesign::caption), text);
}
