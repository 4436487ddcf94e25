#include "CommandLine.hpp"
#include "Session/HostSimRun.hpp"
#include "Tools/RegistryTool.hpp"
#include "Tools/UserDataTool.hpp"

#include <iostream>

#include <string>
#include <vector>

int main(int argc, char** argv) {
    std::vector<std::string> arguments = CommandLine::Utf8Arguments(argc, argv);
    if (!arguments.empty() && arguments.front() == "registry") {
        arguments.erase(arguments.begin());
        return HostSim::RunRegistryCommand(arguments, std::cout, std::cerr);
    }
    if (!arguments.empty() && arguments.front() == "user-data") {
        arguments.erase(arguments.begin());
        return HostSim::RunUserDataCommand(arguments);
    }
    return HostSim::RunHostSim(arguments);
}
