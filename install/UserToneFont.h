#pragma once

#include <QStringList>

#include <string>

namespace install {

// The tone font for whoever runs the program. The installation's marker stands for the whole
// program folder, as the machine-wide installation on Windows does, but this desktop installs the
// font per user: a second user of the folder, or one who removed the font, would be left without
// it. So when fontconfig knows no such face for this user, the program loads its own copy, and
// quietly gives the user a copy of the font if the marker says it is installed. A face fontconfig
// knows is not loaded a second time: that would cost every start the font read twice.
class UserToneFont {
  public:
    // Reads the marker and asks fontconfig now: before the installation rewrites the one, and
    // before the program's own copy of the font is added to the other.
    explicit UserToneFont(std::string programFolder);

    // After the installation: copies the font into the user's font folder when needed, and loads
    // the program folder's font into the running program when fontconfig did not know the face.
    // The families that font brought.
    QStringList complete() const;

  private:
    void copyForThisUser() const;

    std::string programFolder_;
    bool known_ = false;
    bool copyWanted_ = false;
};

} // namespace install
