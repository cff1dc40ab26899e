#include "BenchForm.h"

#include "app/Form1.h"

#include <QAction>
#include <QCommandLineParser>
#include <QFile>
#include <QFontDatabase>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <cstdio>

namespace bench {

std::unique_ptr<BenchForm> BenchForm::fromCommandLine(QCommandLineParser& parser,
                                                      const QCoreApplication& application) {
    parser.addHelpOption();
    const QCommandLineOption folder("program-folder", "Tonquill's program folder.", "DIR",
                                    QStringLiteral(TONQUILL_PROGRAM_DIR));
    parser.addOption(folder);
    parser.process(application);
    auto window = std::make_unique<BenchForm>(parser.value(folder));
    if (window->ready())
        return window;
    std::fprintf(stderr, "The window did not open.\n");
    return nullptr;
}

BenchForm::BenchForm(const QString& programFolder) {
    if (!folder_.isValid() || !copyProgramFolder(programFolder))
        return;
    QFontDatabase::addApplicationFont(folder_.filePath("pyserif.ttf"));
    form_ = std::make_unique<Form1>();
    form_->Form_Load(folder_.path());
    form_->show();
    ready_ = QTest::qWaitForWindowExposed(form_.get());
}

BenchForm::~BenchForm() = default;

bool BenchForm::copyProgramFolder(const QString& programFolder) {
    for (const char* name : {"pyserif.ttf", "zhongwen.gif"}) {
        if (!QFile::copy(programFolder + "/" + name, folder_.filePath(name)))
            return false;
    }
    QFile marker(folder_.filePath("font.log"));
    return marker.open(QIODevice::WriteOnly) && marker.write("\"Ja\"\r\n") == 6;
}

QPlainTextEdit& BenchForm::Text2() const {
    return *form_->findChild<QPlainTextEdit*>("Text2");
}

QTimer& BenchForm::timer(const char* name) const {
    return *form_->findChild<QTimer*>(name);
}

QAction& BenchForm::option(const QString& text) const {
    const QList<QAction*> items = form_->findChild<QMenu*>("options")->actions();
    return **std::find_if(items.begin(), items.end(),
                          [&text](const QAction* item) { return item->text() == text; });
}

} // namespace bench
