#include "ModalMessageBox.h"

#include "InstallPlatform.h"

#include <QMessageBox>
#include <QPointer>

namespace install {

std::function<void(const std::string& text)> modalMessageBox(QWidget* parent) {
    return [owner = QPointer<QWidget>(parent)](const std::string& text) {
        QMessageBox box(QMessageBox::NoIcon,
                        QString::fromUtf8(applicationTitle.data(), applicationTitle.size()),
                        QString::fromLocal8Bit(text), QMessageBox::Ok, owner.data());
        box.exec();
    };
}

} // namespace install
