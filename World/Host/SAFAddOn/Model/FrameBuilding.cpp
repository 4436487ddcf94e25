#include "FrameBuilding.hpp"

#include <cstdio>
#include <string>

namespace Building {
namespace {

// Stable identities, so that two exports of one model carry the same Id cells.
std::string MakeId(unsigned kind, std::size_t index) {
    char text[40];
    std::snprintf(text, sizeof text, "5af0%04x-0000-4000-8000-%012zx", kind, index + 1);
    return text;
}

std::string Numbered(const char* prefix, std::size_t number) {
    return prefix + std::to_string(number);
}

struct FrameGrid {
    const FrameLayout& layout;

    std::size_t PointsPerLevel() const {
        return static_cast<std::size_t>((layout.baysX + 1) * (layout.baysY + 1));
    }
    std::string NodeAt(int level, int i, int j) const {
        const std::size_t index = static_cast<std::size_t>(level) * PointsPerLevel() +
                                  static_cast<std::size_t>(j * (layout.baysX + 1) + i);
        return Numbered("N", index + 1);
    }
};

void AddMaterialsAndSections(Model& model) {
    model.materials = {
        {"S235", "Steel", "S235", 7850.0, 210000.0, 80769.0, 0.3, 1.2e-5, MakeId(1, 0)},
        {"C30/37", "Concrete", "C30/37", 2500.0, 33000.0, 13750.0, 0.2, 1.0e-5, MakeId(1, 1)},
    };
    model.crossSections = {
        {"HEA200", "S235", "Manufactured", "", {}, "HEA200", 1, MakeId(2, 0)},
        {"IPE270", "S235", "Manufactured", "", {}, "IPE270", 1, MakeId(2, 1)},
        {"IPE220", "S235", "Manufactured", "", {}, "IPE220", 1, MakeId(2, 2)},
        {"R400x400", "C30/37", "Parametric", "Rectangle", {400.0, 400.0}, "", 0, MakeId(2, 3)},
    };
}

void AddNodesAndStoreys(Model& model, const FrameLayout& layout) {
    for (int level = 0; level <= layout.storeys; ++level) {
        const double z = level * layout.storeyHeight;
        model.storeys.push_back(
            {level == 0 ? "Ground floor" : Numbered("Level ", static_cast<std::size_t>(level)), z,
             MakeId(3, static_cast<std::size_t>(level))});
        for (int j = 0; j <= layout.baysY; ++j) {
            for (int i = 0; i <= layout.baysX; ++i) {
                const std::size_t index = model.nodes.size();
                model.nodes.push_back({Numbered("N", index + 1), i * layout.bayLengthX, j * layout.bayLengthY,
                                       z, MakeId(4, index)});
            }
        }
    }
}

CurveMember MakeMember(Model& model, const char* prefix, const char* type, const char* section,
                       std::string from, std::string to) {
    CurveMember member;
    const std::size_t index = model.curveMembers.size();
    member.name = Numbered(prefix, index + 1);
    member.type = type;
    member.crossSection = section;
    member.nodes = {std::move(from), std::move(to)};
    if (std::string(type) == "Column") {
        member.lcs = "Y by vector";
        member.lcsVector = {0.0, 1.0, 0.0};
        member.layer = "Columns";
    } else {
        member.layer = "Beams";
    }
    member.id = MakeId(5, index);
    return member;
}

void AddFloor(Model& model, const FrameGrid& grid, int level) {
    const FrameLayout& layout = grid.layout;
    for (int j = 0; j <= layout.baysY; ++j) {
        for (int i = 0; i <= layout.baysX; ++i) {
            const char* section = level == 1 ? "R400x400" : "HEA200";
            model.curveMembers.push_back(MakeMember(model, "B", "Column", section,
                                                    grid.NodeAt(level - 1, i, j), grid.NodeAt(level, i, j)));
        }
    }
    for (int j = 0; j <= layout.baysY; ++j) {
        for (int i = 0; i < layout.baysX; ++i) {
            model.curveMembers.push_back(MakeMember(model, "B", "Beam", "IPE270", grid.NodeAt(level, i, j),
                                                    grid.NodeAt(level, i + 1, j)));
        }
    }
    for (int i = 0; i <= layout.baysX; ++i) {
        for (int j = 0; j < layout.baysY; ++j) {
            model.curveMembers.push_back(MakeMember(model, "B", "Beam", "IPE220", grid.NodeAt(level, i, j),
                                                    grid.NodeAt(level, i, j + 1)));
        }
    }
    SurfaceMember slab;
    const std::size_t index = model.surfaceMembers.size();
    slab.name = Numbered("S", index + 1);
    slab.type = "Plate";
    slab.material = "C30/37";
    slab.thickness = 200.0;
    slab.nodes = {grid.NodeAt(level, 0, 0), grid.NodeAt(level, layout.baysX, 0),
                  grid.NodeAt(level, layout.baysX, layout.baysY), grid.NodeAt(level, 0, layout.baysY)};
    slab.layer = "Slabs";
    slab.id = MakeId(6, index);
    model.surfaceMembers.push_back(slab);
}

void AddSupports(Model& model, const FrameGrid& grid) {
    for (int j = 0; j <= grid.layout.baysY; ++j) {
        for (int i = 0; i <= grid.layout.baysX; ++i) {
            const std::size_t index = model.supports.size();
            model.supports.push_back({Numbered("Sn", index + 1), "Fixed", grid.NodeAt(0, i, j),
                                      RestraintsOf("Fixed"), MakeId(7, index)});
        }
    }
}

} // namespace

Model GenerateFrameBuilding(const FrameLayout& layout) {
    Model model;
    model.name = "Frame " + std::to_string(layout.baysX) + "x" + std::to_string(layout.baysY) + "x" +
                 std::to_string(layout.storeys);
    model.description = "Steel and concrete frame";
    AddMaterialsAndSections(model);
    AddNodesAndStoreys(model, layout);
    const FrameGrid grid{layout};
    for (int level = 1; level <= layout.storeys; ++level) {
        AddFloor(model, grid, level);
    }
    AddSupports(model, grid);
    return model;
}

Model GenerateDemoBuilding() {
    Model model = GenerateFrameBuilding(FrameLayout{});
    model.name = "Demo building";
    model.description = "Two-storey steel and concrete frame, 3 x 2 bays";
    return model;
}

Model GenerateBuildingWithMembers(std::size_t memberCount) {
    FrameLayout layout;
    layout.storeys = 1;
    layout.baysX = 1;
    layout.baysY = 1;
    const auto membersOf = [](const FrameLayout& candidate) {
        const auto x = static_cast<std::size_t>(candidate.baysX);
        const auto y = static_cast<std::size_t>(candidate.baysY);
        return static_cast<std::size_t>(candidate.storeys) * ((x + 1) * (y + 1) + x * (y + 1) + y * (x + 1));
    };
    while (membersOf(layout) < memberCount) {
        if (layout.storeys < 10) {
            ++layout.storeys;
        } else if (layout.baysX <= layout.baysY) {
            ++layout.baysX;
        } else {
            ++layout.baysY;
        }
    }
    Model model = GenerateFrameBuilding(layout);
    model.curveMembers.resize(memberCount);
    return model;
}

} // namespace Building
