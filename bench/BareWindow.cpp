// The yardstick of the start-up benchmark: what any Qt Widgets program with one main window
// holding a plain-text editor of Tonquill's client area costs to reach the screen.
#include <QApplication>
#include <QMainWindow>
#include <QPlainTextEdit>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QMainWindow window;
    auto* editor = new QPlainTextEdit(&window);
    editor->setFixedSize(552, 266);
    window.setCentralWidget(editor);
    window.show();
    return application.exec();
}
