#pragma once

#include <array>
#include <string>
#include <vector>

// The building model a project holds: what the SAF add-on turns into a workbook. Everything is
// metric (m for lengths and coordinates, mm for thicknesses and section parameters, MPa for moduli,
// kg/m3 for unit mass); objects refer to each other by name, and a name is unique within its kind.
// An empty `id` means the object has no stable identity and its Id cell stays empty.
namespace Building {

struct Material {
    std::string name;
    std::string type; // Concrete, Steel, Timber, Aluminium, Masonry, Other
    std::string quality;
    double unitMass = 0.0;
    double eModulus = 0.0;
    double gModulus = 0.0;
    double poisson = 0.0;
    double thermalExpansion = 0.0;
    std::string id;
};

struct CrossSection {
    std::string name;
    std::string material;
    std::string kind;               // Parametric or Manufactured
    std::string shape;              // Parametric: Rectangle, Circle, I Section, Pipe, ...
    std::vector<double> parameters; // Parametric, mm, in the order the shape defines
    std::string profile;            // Manufactured: HEA200, IPE270, ...
    int formCode = 0;               // Manufactured: 1 I-section ... 8 full circle
    std::string id;
};

struct Node {
    std::string name;
    double x = 0.0;
    double y = 0.0;
    double z = 0.0;
    std::string id;
};

struct CurveMember {
    std::string name;
    std::string type; // Beam, Column, Rafter, Purlin, General
    std::string crossSection;
    std::vector<std::string> nodes; // start to end, straight segments between them
    std::string lcs = "Z by vector";
    std::array<double, 3> lcsVector{0.0, 0.0, 1.0};
    double lcsRotation = 0.0; // degrees
    std::string systemLine = "Centre";
    std::string behaviour = "Standard";
    std::string layer;
    std::string id;
};

struct SurfaceMember {
    std::string name;
    std::string type; // Plate, Wall, Shell
    std::string material;
    double thickness = 0.0; // mm
    std::string systemPlane = "Centre";
    std::vector<std::string> nodes; // the boundary in order, straight edges between them
    std::string behaviour = "Isotropic";
    std::string layer;
    std::string id;
};

struct Storey {
    std::string name;
    double heightLevel = 0.0;
    std::string id;
};

// Which of ux, uy, uz, fix, fiy, fiz are held (Rigid); the others are Free.
using Restraints = std::array<bool, 6>;

struct PointSupport {
    std::string name;
    std::string type; // Fixed, Hinged, Sliding, Custom
    std::string node;
    Restraints restraints{true, true, true, true, true, true};
    std::string id;
};

struct Model {
    std::string name;
    std::string description;
    std::string nationalCode = "EC-Standard-EN";
    std::vector<Material> materials;
    std::vector<CrossSection> crossSections;
    std::vector<Node> nodes;
    std::vector<CurveMember> curveMembers;
    std::vector<SurfaceMember> surfaceMembers;
    std::vector<Storey> storeys;
    std::vector<PointSupport> supports;
};

// The restraints a support type implies; Custom starts from nothing held.
Restraints RestraintsOf(const std::string& supportType);

} // namespace Building
