#include "Form1.h"

#include "ChineseToPinyinActions.h"
#include "ClientAccessible.h"
#include "ControlFactory.h"
#include "DocumentFile.h"
#include "EditorEnd.h"
#include "EditorMirror.h"
#include "EditorText.h"
#include "EditorToneNumbers.h"
#include "FindWindow.h"
#include "FormDesign.h"
#include "HelpBox.h"
#include "StartupTrace.h"
#include "TextBox.h"
#include "TiledBackground.h"
#include "TypingSettings.h"
#include "UnicodePinyinActions.h"
#include "files/RecoveryStore.h"
#include "install/DesktopInstallPlatform.h"
#include "install/InstallToneFont.h"
#include "install/ModalMessageBox.h"
#include "install/UserToneFont.h"
#include "print/print_Click.h"
#include "tone/GlyphTables.h"
#include "tone/ReplacementTick.h"
#include "ui/Check1_Click.h"
#include "ui/KeyPressFilter.h"
#include "ui/PictureBox.h"
#include "ui/Shape.h"
#include "ui/Text1_KeyPress.h"
#include "ui/pCol_MouseDown.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QIcon>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTimer>

#include <algorithm>
#include <vector>

Form1::Form1(QWidget* parent, const QString& recoveryFolder) : QMainWindow(parent) {
    createFrame();
    StartupTrace::step("caption and icon");
    createControls();
    StartupTrace::step("controls from the design table");
    createTimers();
    document_ = new DocumentFile(
        *this, *controls_.Text2, [this] { tracker_.clearPendingVowel(); }, recoveryFolder);
    StartupTrace::step("timers and document");
    createMenu();
    StartupTrace::step("menus and settings");
    connectHandlers();
    StartupTrace::step("handlers connected");
}

QTimer* Form1::timer(int number) const {
    return timers_.at(number - 1);
}

void Form1::createFrame() {
    setWindowTitle(FormDesign::translated(FormDesign::caption));
    QIcon icon;
    // Read as PNG without guessing, which would load every image plug-in to ask each of them.
    for (int size : {16, 32, 48, 64}) {
        QImageReader reader(QString(":/icon/tonquill-%1.png").arg(size), "png");
        reader.setAutoDetectImageFormat(false);
        icon.addPixmap(QPixmap::fromImage(reader.read()));
    }
    setWindowIcon(icon);
}

void Form1::createControls() {
    auto* client = new QWidget(this);
    client->setFixedSize(FormDesign::twipsToPixels(FormDesign::clientArea).size());
    QFont font = client->font();
    QStringList faces(FormDesign::defaultFontFaces.begin(), FormDesign::defaultFontFaces.end());
    font.setFamilies(faces << font.family());
    font.setPointSizeF(FormDesign::defaultFontPoints);
    client->setFont(font);
    setCentralWidget(client);
    ClientAccessible::install(*client);
    controls_ = ControlFactory::makeAll(client);
    fontBoxes_.at(0) = controls_.Text2;
    std::ranges::copy(controls_.holders, fontBoxes_.begin() + 1);
    controls_.Text2->setFocus();
    controls_.Image15->lower();
}

void Form1::createTimers() {
    for (const auto& design : FormDesign::timers()) {
        auto* made = new QTimer(this);
        made->setObjectName(QLatin1String(design.name));
        made->setInterval(design.intervalMs);
        made->setSingleShot(true);
        timers_.at(design.number - 1) = made;
    }
}

QString Form1::defaultRecoveryFolder() {
    return files::RecoveryStore::defaultFolder();
}

void Form1::createMenu() {
    document_->addMenu(*menuBar());
    QMenu* ad = menuBar()->addMenu(FormDesign::translated(FormDesign::menuCaption));
    ad->setObjectName("ad");
    QAction* print = ad->addAction(FormDesign::translated(FormDesign::printCaption));
    print->setObjectName("print");
    connect(print, &QAction::triggered, this,
            [this] { print::print_Click(EditorText::all(*controls_.Text2)); });
    createOptionsMenu();
}

void Form1::createOptionsMenu() {
    QMenu* options = menuBar()->addMenu(tr("Options"));
    options->setObjectName("options");
    QAction* afterSyllable = options->addAction(tr("Tone number after the syllable"));
    afterSyllable->setCheckable(true);
    toneAfterSyllable_ = TypingSettings::toneAfterSyllable();
    afterSyllable->setChecked(toneAfterSyllable_);
    connect(afterSyllable, &QAction::toggled, this, &Form1::setToneAfterSyllable);
    convertToneNumbers_ = options->addAction(tr("Convert tone numbers"));
    connect(convertToneNumbers_, &QAction::triggered, this,
            [this] { EditorToneNumbers::convert(*controls_.Text2); });
    convertToToneNumbers_ = options->addAction(tr("Convert to tone numbers"));
    connect(convertToToneNumbers_, &QAction::triggered, this,
            [this] { EditorToneNumbers::toNumbers(*controls_.Text2); });
    chinese_ = new ChineseToPinyinActions(*controls_.Text2, [this] {
        return (programFolder_.isEmpty() ? QCoreApplication::applicationDirPath()
                                         : programFolder_) +
               "/hanzi-readings.dat";
    });
    options->addAction(chinese_->convertAction());
    createFind(*options);
}

// Made when first asked for: its standard icons cost more start-up time than the rest of the
// window. Before that there is no search for F3 to repeat.
void Form1::createFind(QMenu& options) {
    QAction* find = options.addAction(tr("Find…"));
    find->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F));
    connect(find, &QAction::triggered, this, [this] { findWindow().start(); });
    FindWindow::addFindAgainKeys(*this, [this](bool forward) {
        if (find_)
            find_->find(forward);
    });
}

// The search reads the text the recovery mirror already keeps.
FindWindow& Form1::findWindow() {
    if (!find_) {
        find_ =
            new FindWindow(*this, *controls_.Text2, [this] { return document_->mirror().text(); });
        find_->setHelpShown(controls_.Check1->checkState() == Qt::Checked);
    }
    return *find_;
}

void Form1::connectHandlers() {
    new KeyPressFilter(controls_.Text2, [this](std::int16_t keyCode) { Text2_KeyPress(keyCode); });
    for (int row = 1; row <= 11; ++row)
        connect(timer(row), &QTimer::timeout, this, [this, row] { Timer_Timer(row); });
    connect(timer(12), &QTimer::timeout, this, &Form1::Timer12_Timer);
    connectPresentationControls();
    auto* unicode = new UnicodePinyinActions(*controls_.Text2);
    controls_.Text2->addContextActions(unicode->actions()
                                       << convertToneNumbers_ << convertToToneNumbers_
                                       << chinese_->convertAction() << chinese_->pasteAction());
    connect(controls_.Text2, &TextBox::typed, this, &Form1::Text2_Typed);
}

void Form1::connectPresentationControls() {
    const FormControls& c = controls_;
    new KeyPressFilter(c.Text1, [this, c](std::int16_t keyCode) {
        Text1_KeyPress(keyCode, *c.Text1, c1_, *c.Text2);
    });
    connect(c.pCol, &PictureBox::pressed, this, [c](QPoint position) {
        pCol_MouseDown(*c.pCol, position, *c.op[0], *c.Shape2, *c.Text2);
    });
    // stateChanged rather than toggled: going from ticked to greyed keeps the box checked, so
    // toggled would leave the help box up where the handler brings the editor back.
    connect(c.Check1, &QCheckBox::stateChanged, this, [this, c] {
        Check1_Click(*c.Check1, *c.Text14, *c.Text2);
        if (find_)
            find_->setHelpShown(c.Check1->checkState() == Qt::Checked);
    });
}

void Form1::closeEvent(QCloseEvent* event) {
    if (!document_->maySetAsideChanges()) {
        event->ignore();
        return;
    }
    document_->closeClean();
    event->accept();
}

void Form1::Form_Load(const QString& programFolder) {
    programFolder_ = programFolder;
    installToneFont(programFolder);
    loadPicture(programFolder);
    StartupTrace::step("picture loaded");
    tileBackground();
    StartupTrace::step("background tiled");
    tracker_.clearPendingVowel();
}

void Form1::installToneFont(const QString& programFolder) {
    const install::UserToneFont userFont(programFolder.toStdString());
    install::DesktopInstallPlatform platform(
        programFolder.toStdString(), [this] { timer(12)->start(); },
        install::modalMessageBox(this));
    install::InstallToneFont(platform, installFields_).run();
    StartupTrace::step("first-run installation check");
    userFont.complete();
    StartupTrace::step("per-user font check");
}

// A picture that does not load leaves Image15 empty at its designed size, and no message.
void Form1::loadPicture(const QString& programFolder) {
    const QString path = programFolder + "/zhongwen.gif";
    const QPixmap picture(path);
    if (picture.isNull()) {
        qCDebug(lcStartup) << "no start-up picture at" << path;
        return;
    }
    controls_.Image15->setPixmap(picture);
    controls_.Image15->resize(picture.size());
}

void Form1::tileBackground() {
    QWidget* client = centralWidget();
    QPalette palette = client->palette();
    palette.setBrush(QPalette::Window, TiledBackground::brush(controls_.Image15->pixmap(),
                                                              palette.color(QPalette::Button)));
    client->setPalette(palette);
    client->setAutoFillBackground(true);
}

// With the tone number after the syllable the tracker still sees every key, so that it knows the
// last vowel when the option is turned off again, but it arms no timer.
void Form1::Text2_KeyPress(std::int16_t keyCode) {
    const int number = tracker_.keyPress(keyCode);
    if (number != tone::KeyTracker::noTimer && !toneAfterSyllable_)
        timer(number)->start();
}

void Form1::Text2_Typed(const QString& text) {
    if (toneAfterSyllable_)
        EditorToneNumbers::typed(*controls_.Text2, text);
}

// A replacement armed just before the switch would cut the end of a text typed the other way.
void Form1::setToneAfterSyllable(bool on) {
    toneAfterSyllable_ = on;
    TypingSettings::setToneAfterSyllable(on);
    if (!on)
        return;
    for (int row = 1; row <= tone::rowCount; ++row)
        timer(row)->stop();
    tracker_.clearPendingVowel();
}

void Form1::Timer_Timer(int row) {
    if (const auto edit =
            tone::replacementTick(tracker_, row, EditorEnd::lastUnits(*controls_.Text2, 3)))
        EditorEnd::apply(*controls_.Text2, *edit);
    timer(row)->stop();
    EditorEnd::moveCaretToEnd(*controls_.Text2);
}

void Form1::Timer12_Timer() {
    const QString face = QString::fromStdString(c1_.fontName());
    for (QWidget* box : fontBoxes_) {
        QFont font = box->font();
        font.setFamily(face);
        box->setFont(font);
    }
    timer(12)->stop();
}
