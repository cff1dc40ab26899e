#include "LaunchedProcess.h"

#include <fstream>
#include <sstream>

#include <csignal>
#include <spawn.h>
#include <sys/wait.h>

namespace bench {

namespace {

std::vector<char*> pointersTo(std::vector<std::string>& strings) {
    std::vector<char*> pointers;
    for (std::string& string : strings)
        pointers.push_back(string.data());
    pointers.push_back(nullptr);
    return pointers;
}

} // namespace

LaunchedProcess::LaunchedProcess(const std::string& program,
                                 const std::vector<std::string>& environment) {
    std::vector<std::string> arguments{program};
    std::vector<std::string> variables = environment;
    const auto argv = pointersTo(arguments);
    const auto envp = pointersTo(variables);
    started_ = Clock::now();
    if (posix_spawn(&pid_, program.c_str(), nullptr, nullptr, argv.data(), envp.data()) != 0)
        pid_ = -1;
}

LaunchedProcess::~LaunchedProcess() {
    stop();
}

// VmHWM is the process's own high-water mark, unlike the rusage of waited-for children, which
// the kernel keeps as a maximum over all of them.
long LaunchedProcess::peakResidentKib() const {
    std::ifstream status("/proc/" + std::to_string(pid_) + "/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmHWM:", 0) == 0) {
            std::istringstream fields(line.substr(6));
            long kib = 0;
            fields >> kib;
            return kib;
        }
    }
    return 0;
}

void LaunchedProcess::stop() {
    if (pid_ <= 0)
        return;
    kill(pid_, SIGKILL);
    int status = 0;
    waitpid(pid_, &status, 0);
    pid_ = -1;
}

} // namespace bench
