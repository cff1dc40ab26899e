#include "app/Form1.h"
#include "app/TiledBackground.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <fontconfig/fontconfig.h>

namespace {

const QString builtFolder = QStringLiteral(PROGRAM_DIR);
const QByteArray rewrittenMarker("\"Ja\"\r\n");

QByteArray contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void write(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

} // namespace

// Start-up against a program folder and a home of the test's own.
class TestFormLoad : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> program;
    std::unique_ptr<QTemporaryDir> home;
    QStringList messages;

    void prepare(const QByteArray& marker, bool withPicture = true) {
        write(program->filePath("font.log"), marker);
        QVERIFY(QFile::copy(builtFolder + "/pyserif.ttf", program->filePath("pyserif.ttf")));
        if (withPicture)
            QVERIFY(QFile::copy(builtFolder + "/zhongwen.gif", program->filePath("zhongwen.gif")));
    }

    // Dismisses every message box as it comes, noting its text.
    void answerMessageBoxes() {
        auto* watcher = new QTimer(this);
        connect(watcher, &QTimer::timeout, this, [this] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                messages << box->windowTitle() + ": " + box->text();
                box->accept();
            }
        });
        watcher->start(10);
    }

    std::unique_ptr<Form1> start() {
        FcInitReinitialize(); // as a new process finds the user's fonts
        auto form = std::make_unique<Form1>();
        form->Form_Load(program->path());
        form->show();
        return form;
    }

    QString fontTarget() const { return home->filePath(".local/share/fonts/pyserif.ttf"); }

  private slots:
    void init() {
        program = std::make_unique<QTemporaryDir>();
        home = std::make_unique<QTemporaryDir>();
        qputenv("HOME", home->path().toUtf8());
        qunsetenv("XDG_DATA_HOME");
        qputenv("XDG_CACHE_HOME", home->filePath(".cache").toUtf8());
        messages.clear();
        answerMessageBoxes();
    }

    void firstStartInstallsTheFontAndArmsTheFontTick() {
        prepare("nej\r\n");
        auto form = start();
        QVERIFY(QFile::exists(fontTarget()));
        QCOMPARE(contents(fontTarget()), contents(program->filePath("pyserif.ttf")));
        QCOMPARE(contents(program->filePath("font.log")), rewrittenMarker);
        auto* Timer12 = form->findChild<QTimer*>("Timer12");
        QVERIFY(Timer12->isActive());
        QTRY_VERIFY(!Timer12->isActive());
        QVERIFY(messages.isEmpty());
    }

    // The user has the face, here under a name of their own.
    void secondStartDoesNothing() {
        prepare(rewrittenMarker);
        const QString mine = QFileInfo(fontTarget()).path() + "/mine.ttf";
        QVERIFY(QDir().mkpath(QFileInfo(mine).path()));
        QVERIFY(QFile::copy(program->filePath("pyserif.ttf"), mine));
        auto form = start();
        QVERIFY(!QFile::exists(fontTarget()));
        QCOMPARE(contents(program->filePath("font.log")), rewrittenMarker);
        QVERIFY(!form->findChild<QTimer*>("Timer12")->isActive());
        QCOMPARE(form->pendingVowel(), 0);
    }

    void aFontThatIsNoFontIsReportedTwiceAndTheWindowOpens() {
        prepare("nej");
        write(program->filePath("pyserif.ttf"), "not a font");
        auto form = start();
        QCOMPARE(messages, QStringList(2, "Tonquill: Error Occured Calling AddFontResource"));
        QVERIFY(form->isVisible());
        QCOMPARE(contents(program->filePath("font.log")), rewrittenMarker);
    }

    void aBadPictureLeavesAPlainBackground_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("present");
        QTest::newRow("missing") << QByteArray() << false;
        QTest::newRow("empty") << QByteArray() << true;
        QTest::newRow("corrupt") << QByteArray("GIF89a\x31\x00\xff\xff garbage", 18) << true;
    }

    void aBadPictureLeavesAPlainBackground() {
        QFETCH(QByteArray, bytes);
        prepare(rewrittenMarker, false);
        QFETCH(bool, present);
        if (present)
            write(program->filePath("zhongwen.gif"), bytes);
        auto form = start();
        auto* Image15 = form->findChild<QLabel*>("Image15");
        QVERIFY(Image15->pixmap().isNull());
        QCOMPARE(Image15->size(), QSize(49, 57));
        const QImage background =
            form->centralWidget()->palette().brush(QPalette::Window).texture().toImage();
        const QColor face = form->centralWidget()->palette().color(QPalette::Button);
        QCOMPARE(background.pixelColor(10, 10), face);
        QCOMPARE(background.pixelColor(500, 250), face);
        QVERIFY(messages.isEmpty());
    }

    // Captions, colours, positions and fonts at once. To remake the picture after a change of the
    // design on purpose: TONQUILL_REMAKE_PICTURE=1 ctest -R tst_formload, then look at it.
    void windowLooksAsDesigned() {
        QApplication::setCursorFlashTime(0); // a caret that stays put
        prepare(rewrittenMarker);
        auto form = start();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        QTest::qWait(150); // the font tick
        const QImage shown = form->grab().toImage().convertToFormat(QImage::Format_RGB32);
        if (qEnvironmentVariableIsSet("TONQUILL_REMAKE_PICTURE"))
            QVERIFY(shown.save(REFERENCE_PICTURE));
        const QImage reference = QImage(REFERENCE_PICTURE).convertToFormat(QImage::Format_RGB32);
        QCOMPARE(shown.size(), reference.size());
        int differing = 0;
        for (int y = 0; y < shown.height(); ++y) {
            for (int x = 0; x < shown.width(); ++x) {
                const QRgb a = shown.pixel(x, y), b = reference.pixel(x, y);
                differing += qAbs(qRed(a) - qRed(b)) + qAbs(qGreen(a) - qGreen(b)) +
                                 qAbs(qBlue(a) - qBlue(b)) >
                             48;
            }
        }
        QVERIFY2(differing <= 4, qPrintable(QString("%1 pixels differ").arg(differing)));
    }

    void tileBounds_data() {
        QTest::addColumn<float>("edge");
        QTest::addColumn<float>("tile");
        QTest::addColumn<int>("last");
        QTest::newRow("designed picture") << 8280.f << 735.f << 11;
        QTest::newRow("exact quotient is inclusive") << 8280.f << 690.f << 12;
        QTest::newRow("tile wider than the window") << 8280.f << 9000.f << 0;
        QTest::newRow("no tile") << 8280.f << 0.f << -1;
        QTest::newRow("no edge") << 0.f << 0.f << -1;
    }

    void tileBounds() {
        QFETCH(float, edge);
        QFETCH(float, tile);
        QTEST(TiledBackground::lastTile(edge, tile), "last");
    }
};

QTEST_MAIN(TestFormLoad)
#include "tst_formload.moc"
