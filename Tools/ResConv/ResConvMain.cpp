#include "ResConvCommand.hpp"

#include <iostream>

int main(int argc, char** argv) {
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    return ResConv::RunResConv(arguments, std::cout, std::cerr);
}
