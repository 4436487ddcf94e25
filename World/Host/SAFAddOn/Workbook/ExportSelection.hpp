#pragma once

#include "BuildingModel.hpp"
#include "ExportOptions.hpp"
#include "Geometry.hpp"

#include <vector>

namespace SafWorkbook {

// The part of the model that the element kinds let through: the chosen members, surfaces, supports
// and storeys, and just the nodes, cross-sections and materials those use, in the model's order.
// It points into the model instead of copying it, so that a model of any size is exported without a
// second copy of itself.
struct ExportedModel {
    std::vector<const Building::Material*> materials;
    std::vector<const Building::CrossSection*> crossSections;
    std::vector<const Building::Node*> nodes;
    std::vector<const Building::CurveMember*> curveMembers;
    std::vector<const Building::SurfaceMember*> surfaceMembers;
    std::vector<const Building::Storey*> storeys;
    std::vector<const Building::PointSupport*> supports;
};

ExportedModel SelectExported(const Building::Model& model, const ElementKinds& kinds,
                             const ModelGeometry& geometry);

} // namespace SafWorkbook
