#include "Form1.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    Form1 form;
    form.Form_Load(QCoreApplication::applicationDirPath());
    form.show();
    return application.exec();
}
