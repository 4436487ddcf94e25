#include "Units.hpp"

namespace SafWorkbook {
namespace {

struct UnitPair {
    const char* metric;
    const char* imperial;
    double metricPerImperial;
};

constexpr double FootInMetres = 0.3048;
constexpr double PoundInKilograms = 0.45359237;
constexpr double KipInMeganewtons = 4448.2216152605e-6;
constexpr double DegreesPerRadian = 57.295779513082321;

UnitPair UnitsOf(Quantity quantity) {
    switch (quantity) {
    case Quantity::Length:
        return {"m", "ft", FootInMetres};
    case Quantity::SmallLength:
        return {"mm", "in", 25.4};
    case Quantity::Area:
        return {"m2", "ft2", FootInMetres * FootInMetres};
    case Quantity::Volume:
        return {"m3", "ft3", FootInMetres * FootInMetres * FootInMetres};
    case Quantity::SecondMoment:
        return {"m4", "ft4", FootInMetres * FootInMetres * FootInMetres * FootInMetres};
    case Quantity::WarpingConstant:
        return {"m6", "ft6",
                FootInMetres * FootInMetres * FootInMetres * FootInMetres * FootInMetres * FootInMetres};
    case Quantity::Stress:
        return {"MPa", "ksi", 6.894757293168361};
    case Quantity::Density:
        return {"kg/m3", "lb/ft3", PoundInKilograms / (FootInMetres * FootInMetres * FootInMetres)};
    case Quantity::Angle:
        return {"deg", "deg", 1.0};
    case Quantity::Expansion:
        // Per kelvin against per degree Fahrenheit: a kelvin is 1.8 degrees, so the value per degree
        // is the value per kelvin divided by 1.8.
        return {"1/K",
                "1/\xC2\xB0"
                "F" /* the degree sign in UTF-8 */,
                1.8};
    case Quantity::LinearStiffness:
        return {"MN/m", "kip/ft", KipInMeganewtons / FootInMetres};
    case Quantity::RotationalStiffness:
        // Imperial rotational stiffness is per degree, not per radian.
        return {"MNm/rad", "kipft/deg", KipInMeganewtons * FootInMetres * DegreesPerRadian};
    case Quantity::None:
        break;
    }
    return {nullptr, nullptr, 1.0};
}

} // namespace

std::string ColumnTitle(const std::string& title, Quantity quantity, UnitSystem system) {
    const UnitPair units = UnitsOf(quantity);
    if (units.metric == nullptr) {
        return title;
    }
    return title + " [" + (system == UnitSystem::Imperial ? units.imperial : units.metric) + "]";
}

double InUnits(double metricValue, Quantity quantity, UnitSystem system) {
    return system == UnitSystem::Imperial ? metricValue / UnitsOf(quantity).metricPerImperial : metricValue;
}

} // namespace SafWorkbook
