#pragma once

#include <QFile>
#include <QTest>

// A table's columns in one line, and a cell by its column's name.
template <typename... T> void columns(std::initializer_list<const char*> names) {
    auto name = names.begin();
    (QTest::addColumn<T>(*name++), ...);
}
template <typename T> const T& cell(const char* name) {
    return *static_cast<T*>(QTest::qData(name, qMetaTypeId<T>()));
}
inline QByteArray readFile(const QString& path, const QByteArray& missing = "(none)") {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : missing;
}
inline bool writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}
