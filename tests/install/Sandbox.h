#pragma once

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QString>
#include <QTemporaryDir>

#include <optional>
#include <utility>

// A throw-away user for one test: its own HOME, data, cache and current folder, a program folder
// and a folder "outside" for things the installation must never touch. The environment and the
// current folder are put back on destruction.
class Sandbox {
  public:
    Sandbox();
    ~Sandbox();
    Sandbox(const Sandbox&) = delete;
    Sandbox& operator=(const Sandbox&) = delete;

    bool isValid() const { return dir_.isValid(); }
    QString root() const { return dir_.path(); }
    QString program() const { return root() + "/program"; }
    QString home() const { return root() + "/home"; }
    QString cache() const { return root() + "/cache"; }
    QString cwd() const { return root() + "/cwd"; }
    QString outside() const { return root() + "/outside"; }
    QString dataHome() const { return dataHome_; }
    QString fonts() const { return dataHome_ + "/fonts"; }
    QString marker() const { return program() + "/font.log"; }
    QString installedFont() const { return fonts() + "/pyserif.ttf"; }

    // Points XDG_DATA_HOME at `folder` (created) or, when empty, unsets it so HOME decides.
    void useDataHome(const QString& folder);
    void setVariable(const char* name, const std::optional<QByteArray>& value);

    static void writeFile(const QString& path, const QByteArray& bytes);
    static QByteArray readFile(const QString& path);

    // Every entry under the sandbox except the program, font and cache folders, each with its kind
    // and content, so that a comparison shows anything written where it should not be.
    QMap<QString, QByteArray> untouchableState() const;

  private:
    bool isOwnedByProgram(const QString& path) const;

    QTemporaryDir dir_;
    QString dataHome_;
    QString savedCwd_;
    QList<std::pair<QByteArray, std::optional<QByteArray>>> savedVariables_;
};
