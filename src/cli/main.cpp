#include <unistd.h>

#include <iostream>

#include "cli/CliApp.h"
#include "cli/ProgramOutput.h"

int main(int argc, char** argv) {
    InstallCliSignals();
    DescriptorOutput buffer(STDOUT_FILENO);
    std::ostream out(&buffer);
    const int status = RunCli(argc, argv, out, std::cerr);
    return FinishCliOutput(status, out, buffer, std::cerr);
}
