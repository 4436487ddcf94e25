#include "CommandLine.hpp"
#include "ResConvCommand.hpp"

#include <iostream>

int main(int argc, char** argv) {
    const std::vector<std::string> arguments = CommandLine::Utf8Arguments(argc, argv);
    return ResConv::RunResConv(arguments, std::cout, std::cerr);
}
