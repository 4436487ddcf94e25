#pragma once

#include "Units.hpp"

// The columns of each SAF object sheet, exactly as SAF 2.2.0 names and orders them, with the quantity
// that decides each one's unit in either system of units.
namespace SafWorkbook {

struct Column {
    const char* title;
    Quantity quantity = Quantity::None;
};

inline constexpr Column MaterialColumns[] = {{"Name"},
                                             {"Type"},
                                             {"Subtype"},
                                             {"Quality"},
                                             {"Unit mass", Quantity::Density},
                                             {"E modulus", Quantity::Stress},
                                             {"G modulus", Quantity::Stress},
                                             {"Poisson coefficient"},
                                             {"Thermal expansion", Quantity::Expansion},
                                             {"Design properties"},
                                             {"Id"}};

inline constexpr Column CrossSectionColumns[] = {{"Name"},
                                                 {"Material"},
                                                 {"Cross-section Type"},
                                                 {"Shape"},
                                                 {"Parameters", Quantity::SmallLength},
                                                 {"Profile"},
                                                 {"Form code"},
                                                 {"Description ID of the profile"},
                                                 {"A", Quantity::Area},
                                                 {"Iy", Quantity::SecondMoment},
                                                 {"Iz", Quantity::SecondMoment},
                                                 {"It", Quantity::SecondMoment},
                                                 {"Iw", Quantity::WarpingConstant},
                                                 {"Wply", Quantity::Volume},
                                                 {"Wplz", Quantity::Volume},
                                                 {"Id"}};

inline constexpr Column NodeColumns[] = {{"Name"},
                                         {"Coordinate X", Quantity::Length},
                                         {"Coordinate Y", Quantity::Length},
                                         {"Coordinate Z", Quantity::Length},
                                         {"Id"}};

inline constexpr Column CurveMemberColumns[] = {
    {"Name"},
    {"Type"},
    {"Cross section"},
    {"Arbitrary definition"},
    {"Nodes"},
    {"Segments"},
    {"Internal nodes"},
    {"Length", Quantity::Length},
    {"Geometrical shape"},
    {"LCS"},
    {"LCS Rotation", Quantity::Angle},
    {"Coordinate X", Quantity::Length},
    {"Coordinate Y", Quantity::Length},
    {"Coordinate Z", Quantity::Length},
    {"System line"},
    {"Structural Y Eccentricity of Beg Node", Quantity::SmallLength},
    {"Structural Y Eccentricity of End Node", Quantity::SmallLength},
    {"Structural Z Eccentricity of Beg Node", Quantity::SmallLength},
    {"Structural Z Eccentricity of End Node", Quantity::SmallLength},
    {"Analysis Y Eccentricity of Beg Node", Quantity::SmallLength},
    {"Analysis Y Eccentricity of End Node", Quantity::SmallLength},
    {"Analysis Z Eccentricity of Beg Node", Quantity::SmallLength},
    {"Analysis Z Eccentricity of End Node", Quantity::SmallLength},
    {"Layer"},
    {"Behaviour in analysis"},
    {"Color"},
    {"Parent ID"},
    {"Id"}};

inline constexpr Column SurfaceMemberColumns[] = {{"Name"},
                                                  {"Type"},
                                                  {"Material"},
                                                  {"Thickness type"},
                                                  {"Thickness", Quantity::SmallLength},
                                                  {"System plane at"},
                                                  {"Nodes"},
                                                  {"Internal nodes"},
                                                  {"Edges"},
                                                  {"Area", Quantity::Area},
                                                  {"Layer"},
                                                  {"LCS Type"},
                                                  {"Coordinate X", Quantity::Length},
                                                  {"Coordinate Y", Quantity::Length},
                                                  {"Coordinate Z", Quantity::Length},
                                                  {"LCS Rotation", Quantity::Angle},
                                                  {"Structural Z Eccentricity", Quantity::SmallLength},
                                                  {"Analysis Z Eccentricity", Quantity::SmallLength},
                                                  {"Shape"},
                                                  {"Behavior in analysis"},
                                                  {"Color"},
                                                  {"Parent ID"},
                                                  {"Id"}};

inline constexpr Column StoreyColumns[] = {{"Name"}, {"Height level", Quantity::Length}, {"Id"}};

inline constexpr Column SupportColumns[] = {{"Name"},
                                            {"Type"},
                                            {"Boundary condition"},
                                            {"Node"},
                                            {"Member"},
                                            {"Coordinate system"},
                                            {"Origin"},
                                            {"Coordinate definition"},
                                            {"Position x", Quantity::Length},
                                            {"ux"},
                                            {"uy"},
                                            {"uz"},
                                            {"fix"},
                                            {"fiy"},
                                            {"fiz"},
                                            {"Stiffness X", Quantity::LinearStiffness},
                                            {"Stiffness Y", Quantity::LinearStiffness},
                                            {"Stiffness Z", Quantity::LinearStiffness},
                                            {"Stiffness Fix", Quantity::RotationalStiffness},
                                            {"Stiffness Fiy", Quantity::RotationalStiffness},
                                            {"Stiffness Fiz", Quantity::RotationalStiffness},
                                            {"Id"}};

} // namespace SafWorkbook
