#include "LaunchProbeRecord.hpp"

#include <unistd.h>

int main(int argc, char** argv) {
    return LaunchProbe::RecordAndHold(static_cast<unsigned long>(::getpid()),
                                      std::vector<std::string>(argv + 1, argv + argc));
}
