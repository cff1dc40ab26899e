// Runs the first-run installation of the tone font once, as the program does when its window
// loads, and prints what the user would have seen instead of showing it.
//   tonquill-install [program folder]
// Without an argument the program folder is the executable's own.

#include "RecordingWin32Platform.h"

#include "install/InstallFields.h"
#include "install/InstallToneFont.h"

#include <iostream>
#include <string>

namespace {

constexpr int usageError = 2;

int usage() {
    std::cerr << "usage: tonquill-install [program folder]\n"
                 "The folder holds font.log and pyserif.ttf; without it, the folder of this "
                 "program is used.\n";
    return usageError;
}

} // namespace

int main(int argc, char** argv) {
    if (argc > 2)
        return usage();
    std::string folder = argc == 2 ? argv[1] : "";
    if (argc == 2 && folder.empty())
        return usage();
    RecordingWin32Platform platform(folder, std::cout);
    install::InstallFields fields;
    install::InstallToneFont(platform, fields).run();
    std::cout << "font folder: " << fields.fontDir << '\n' << platform.summary() << std::endl;
    return 0;
}
