#pragma once

#include <QList>
#include <QMap>
#include <QTemporaryDir>

#include <optional>
#include <utility>

// A throw-away user for one test: its own HOME, data, cache and current folder, a program folder
// and a folder "outside". The environment and the current folder are put back on destruction.
class Sandbox {
  public:
    Sandbox();
    ~Sandbox();

    QTemporaryDir dir;
    QString root = dir.path();
    QString program = root + "/program";
    QString outside = root + "/outside";
    // Where the font is expected: a test that moves XDG_DATA_HOME moves this with it.
    QString dataHome = root + "/home/.local/share";

    QString fonts() const { return dataHome + "/fonts"; }
    QString marker() const { return program + "/font.log"; }
    QString installedFont() const { return fonts() + "/pyserif.ttf"; }

    // Sets the variable, or unsets it for nullptr.
    static void setVariable(const char* name, const char* value);
    static void writeFile(const QString& path, const QByteArray& bytes);
    static QByteArray readFile(const QString& path);
    // The entry's kind and, for a file, a digest of its content.
    static QByteArray describe(const QString& path);
    // Every entry outside the program, font and cache folders, described, so that a comparison
    // shows anything written where it should not be.
    QMap<QString, QByteArray> untouchableState() const;

  private:
    QString savedCwd_;
    QList<std::pair<const char*, std::optional<QByteArray>>> savedVariables_;
};
