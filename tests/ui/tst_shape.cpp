#include "ui/Shape.h"

#include <QLineEdit>
#include <QTest>
#include <QVBoxLayout>

class TestShape : public QObject {
    Q_OBJECT

    static QColor shownAt(Shape& shape, QPoint point) {
        return shape.grab().toImage().pixelColor(point);
    }

  private slots:
    void blackAtStart() {
        Shape shape;
        shape.resize(142, 25);
        QCOMPARE(shape.fillColour(), QColor(Qt::black));
        QCOMPARE(shownAt(shape, QPoint(0, 0)), QColor(Qt::black));
    }

    void showsTheFillColourEverywhere_data() {
        QTest::addColumn<QColor>("colour");
        QTest::newRow("green") << QColor(0, 255, 0);
        QTest::newRow("palette grey") << QColor(132, 132, 132);
        QTest::newRow("white") << QColor(Qt::white);
    }
    void showsTheFillColourEverywhere() {
        QFETCH(QColor, colour);
        Shape shape;
        shape.resize(142, 25);
        shape.setFillColour(colour);
        QCOMPARE(shape.fillColour(), colour);
        const QImage shown = shape.grab().toImage();
        for (QPoint corner :
             {QPoint(0, 0), QPoint(141, 0), QPoint(0, 24), QPoint(141, 24), QPoint(70, 12)})
            QCOMPARE(shown.pixelColor(corner), colour);
    }

    void neverTakesTheFocus() {
        QWidget window;
        auto* layout = new QVBoxLayout(&window);
        auto* edit = new QLineEdit;
        auto* shape = new Shape;
        layout->addWidget(edit);
        layout->addWidget(shape);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        edit->setFocus();
        QTest::mouseClick(shape, Qt::LeftButton);
        QVERIFY(edit->hasFocus());
        QTest::keyClick(edit, Qt::Key_Tab);
        QVERIFY(!shape->hasFocus());
    }
};

QTEST_MAIN(TestShape)
#include "tst_shape.moc"
