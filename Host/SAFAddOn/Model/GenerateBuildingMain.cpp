#include "FrameBuilding.hpp"
#include "ModelJson.hpp"

#include <fstream>
#include <iostream>
#include <string>

// Writes a building model as JSON: the demo building, or a frame with a given number of members for
// benchmarks.
//   GenerateBuilding demo OUTPUT.json
//   GenerateBuilding members N OUTPUT.json
int main(int argc, char** argv) {
    const std::string usage =
        "usage: GenerateBuilding demo OUTPUT.json | GenerateBuilding members N OUTPUT.json\n";
    Building::Model model;
    std::string output;
    if (argc == 3 && std::string(argv[1]) == "demo") {
        model = Building::GenerateDemoBuilding();
        output = argv[2];
    } else if (argc == 4 && std::string(argv[1]) == "members") {
        std::size_t count = 0;
        try {
            count = std::stoul(argv[2]);
        } catch (const std::exception&) {
            std::cerr << usage;
            return 64;
        }
        model = Building::GenerateBuildingWithMembers(count);
        output = argv[3];
    } else {
        std::cerr << usage;
        return 64;
    }
    std::ofstream file(output, std::ios::binary | std::ios::trunc);
    file << Building::ModelToJson(model).dump(2) << '\n';
    file.close();
    if (!file) {
        std::cerr << "GenerateBuilding: cannot write " << output << '\n';
        return 1;
    }
    return 0;
}
