#pragma once

#include <QStringList>

#include <string>

namespace install {

// The tone font for whoever runs the program. The installation's marker stands for the whole
// program folder, as the machine-wide installation on Windows does, but this desktop installs the
// font per user: a second user of the folder, or one who removed the font, would be left without
// it. So the program always loads its own copy, and quietly gives the user a copy of the font
// when the marker says it is installed yet fontconfig knows no such face for this user.
class UserToneFont {
  public:
    // Reads the marker and asks fontconfig now: before the installation rewrites the one, and
    // before the program's own copy of the font is added to the other.
    explicit UserToneFont(std::string programFolder);

    // After the installation: copies the font into the user's font folder when needed, then loads
    // the program folder's font into the running program. The families that font brought.
    QStringList complete() const;

  private:
    void copyForThisUser() const;

    std::string programFolder_;
    bool copyWanted_ = false;
};

} // namespace install
