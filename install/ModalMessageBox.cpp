#include "ModalMessageBox.h"

#include "InstallPlatform.h"

#include <QCoreApplication>
#include <QMessageBox>
#include <QPointer>

namespace install {

std::function<void(const std::string& text)> modalMessageBox(QWidget* parent) {
    return [owner = QPointer<QWidget>(parent)](const std::string& text) {
        // The Qt-free installer writes its texts in English; they are translated here, at its edge.
        const std::string title(applicationTitle);
        QMessageBox box(QMessageBox::NoIcon,
                        QCoreApplication::translate("InstallToneFont", title.c_str()),
                        QCoreApplication::translate("InstallToneFont", text.c_str()),
                        QMessageBox::Ok, owner.data());
        box.exec();
    };
}

} // namespace install
