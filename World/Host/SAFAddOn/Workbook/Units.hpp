#pragma once

#include "ExportOptions.hpp"

#include <string>

namespace SafWorkbook {

// The quantities the workbook's columns carry; each has a metric unit (the model's own) and an
// imperial one.
enum class Quantity {
    None,
    Length,
    SmallLength,
    Area,
    Volume,
    SecondMoment,
    WarpingConstant,
    Stress,
    Density,
    Angle,
    Expansion,
    LinearStiffness,
    RotationalStiffness
};

// "Coordinate X" + Length + Metric -> "Coordinate X [m]"; Imperial -> "Coordinate X [ft]".
std::string ColumnTitle(const std::string& title, Quantity quantity, UnitSystem system);

// A metric value of the model in the unit the workbook is written in.
double InUnits(double metricValue, Quantity quantity, UnitSystem system);

} // namespace SafWorkbook
