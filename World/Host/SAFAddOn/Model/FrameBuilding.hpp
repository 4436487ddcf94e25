#pragma once

#include "BuildingModel.hpp"

#include <cstddef>

// Regular steel and concrete frames: a grid of bays repeated over storeys, with concrete columns in
// the ground storey, steel columns above, steel beams both ways on every floor, one concrete slab per
// floor and a fixed support under every ground node. Used for the demo building and for models of any
// size in benchmarks.
namespace Building {

struct FrameLayout {
    int baysX = 3;
    int baysY = 2;
    int storeys = 2;
    double bayLengthX = 6.0;
    double bayLengthY = 5.0;
    double storeyHeight = 3.5;
};

Model GenerateFrameBuilding(const FrameLayout& layout);

// The demo building that ships with hostsim: 3 x 2 bays, two storeys.
Model GenerateDemoBuilding();

// A frame with exactly `memberCount` curve members (the last floor's beams cut short when needed).
Model GenerateBuildingWithMembers(std::size_t memberCount);

} // namespace Building
