#include "PinyinFile.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace files {

namespace {

QString tr(const char* text) {
    return QCoreApplication::translate("PinyinFile", text);
}

OpenedFile refused(const QString& reason) {
    return {{}, reason};
}

} // namespace

OpenedFile PinyinFile::open(const QString& path) {
    const QFileInfo info(path);
    if (info.isDir())
        return refused(tr("it is a folder"));
    if (!info.exists())
        return refused(tr("there is no such file"));
    if (info.size() > sizeLimit)
        return refused(tr("it is larger than 64 MiB"));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return refused(file.errorString());
    // Read one byte past the limit, in case the file grew since it was measured.
    const QByteArray bytes = file.read(sizeLimit + 1);
    if (file.error() != QFileDevice::NoError)
        return refused(file.errorString());
    if (bytes.size() > sizeLimit)
        return refused(tr("it is larger than 64 MiB"));
    if (bytes.contains('\0'))
        return refused(tr("it holds NUL bytes, so it is not a text file"));
    return {PinyinFormat::decode(bytes), {}};
}

QString PinyinFile::save(const QString& path, const QString& editorText) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return file.errorString();
    const QByteArray bytes = PinyinFormat::encode(editorText);
    if (file.write(bytes) != bytes.size()) {
        const QString reason = file.errorString();
        file.cancelWriting();
        return reason;
    }
    if (!file.commit())
        return file.errorString();
    return {};
}

} // namespace files
