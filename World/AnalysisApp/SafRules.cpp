#include "SafRules.hpp"

#include "HeaderKey.hpp"

#include <algorithm>

namespace AnalysisApp {
namespace {

bool Is(const RowValues& row, std::string_view key, std::initializer_list<std::string_view> values) {
    const std::string_view value = Trimmed(row.Value(key));
    return std::any_of(values.begin(), values.end(),
                       [&](std::string_view wanted) { return EqualsFolded(value, wanted); });
}

bool ParametricOrCompound(const RowValues& row) {
    return Is(row, "crosssectiontype", {"parametric", "compound"});
}
bool HasProfile(const RowValues& row) {
    return Is(row, "crosssectiontype", {"manufactured", "compound", "general"});
}
bool Manufactured(const RowValues& row) {
    return Is(row, "crosssectiontype", {"manufactured"});
}
// A 2.1.0 support without a boundary condition is always in a node.
bool InNode(const RowValues& row) {
    return Is(row, "boundarycondition", {"in node", ""});
}
bool OnBeam(const RowValues& row) {
    return Is(row, "boundarycondition", {"on beam"});
}
template <const char* Key>
bool Flexible(const RowValues& row) {
    return Is(row, Key, {"flexible", "non linear"});
}

constexpr char Ux[] = "ux";
constexpr char Uy[] = "uy";
constexpr char Uz[] = "uz";
constexpr char Fix[] = "fix";
constexpr char Fiy[] = "fiy";
constexpr char Fiz[] = "fiz";

const std::vector<std::string_view> TranslationKinds = {"Rigid",
                                                        "Free",
                                                        "Flexible",
                                                        "Compression only",
                                                        "Tension only",
                                                        "Flexible compression only",
                                                        "Flexible tension only",
                                                        "Non linear"};
const std::vector<std::string_view> RotationKinds = {"Free", "Rigid", "Flexible", "Non linear"};

constexpr std::string_view Nodes = "StructuralPointConnection";

ColumnRule Required(std::string_view header, ValueKind kind = ValueKind::Text) {
    return {header, kind, Need::Required};
}
ColumnRule Optional(std::string_view header, ValueKind kind = ValueKind::Text) {
    return {header, kind, Need::Optional};
}
ColumnRule WithUnit(ColumnRule rule, std::string_view metric, std::string_view imperial) {
    rule.metricUnit = metric;
    rule.imperialUnit = imperial;
    return rule;
}
ColumnRule Choosing(ColumnRule rule, std::vector<std::string_view> choices) {
    rule.choices = std::move(choices);
    return rule;
}
ColumnRule Naming(ColumnRule rule, std::string_view target) {
    rule.target = target;
    return rule;
}
ColumnRule When(ColumnRule rule, bool (*condition)(const RowValues&), std::string_view text) {
    rule.need = Need::Conditional;
    rule.requiredWhen = condition;
    rule.condition = text;
    return rule;
}
ColumnRule Ranging(ColumnRule rule, long long smallest, long long largest) {
    rule.smallest = smallest;
    rule.largest = largest;
    return rule;
}
ColumnRule Since220(ColumnRule rule) {
    rule.optionalIn210 = true;
    return rule;
}

std::vector<SheetRule> BuildRules() {
    const auto length = [](ColumnRule rule) { return WithUnit(std::move(rule), "m", "ft"); };
    const auto small = [](ColumnRule rule) { return WithUnit(std::move(rule), "mm", "in"); };
    const auto angle = [](ColumnRule rule) { return WithUnit(std::move(rule), "deg", "deg"); };
    std::vector<SheetRule> rules;
    rules.push_back({"StructuralMaterial",
                     {Required("Name"),
                      Choosing(Required("Type", ValueKind::Choice),
                               {"Concrete", "Steel", "Timber", "Aluminium", "Masonry", "Other"}),
                      Optional("Subtype"), Required("Quality"),
                      WithUnit(Optional("Unit mass", ValueKind::Number), "kg/m3", "lb/ft3"),
                      WithUnit(Optional("E modulus", ValueKind::Number), "MPa", "ksi"),
                      WithUnit(Optional("G modulus", ValueKind::Number), "MPa", "ksi"),
                      Optional("Poisson coefficient", ValueKind::Number),
                      WithUnit(Optional("Thermal expansion", ValueKind::Number), "1/K",
                               "1/\xC2\xB0"
                               "F"),
                      Optional("Design properties"), Optional("Id")}});
    rules.push_back(
        {"StructuralCrossSection",
         {Required("Name"), Naming(Required("Material", ValueKind::ReferenceList), "StructuralMaterial"),
          Choosing(Required("Cross-section Type", ValueKind::Choice),
                   {"Parametric", "Manufactured", "Compound", "General"}),
          When(Optional("Shape"), ParametricOrCompound, "for a Parametric or Compound cross-section"),
          small(When(Optional("Parameters", ValueKind::NumberList), ParametricOrCompound,
                     "for a Parametric or Compound cross-section")),
          When(Optional("Profile"), HasProfile, "for a Manufactured, Compound or General cross-section"),
          Ranging(When(Optional("Form code", ValueKind::Integer), Manufactured,
                       "for a Manufactured cross-section"),
                  0, 23),
          Ranging(Optional("Description ID of the profile", ValueKind::Integer), 0, 118),
          WithUnit(Optional("A", ValueKind::Number), "m2", "ft2"),
          WithUnit(Optional("Iy", ValueKind::Number), "m4", "ft4"),
          WithUnit(Optional("Iz", ValueKind::Number), "m4", "ft4"),
          WithUnit(Optional("It", ValueKind::Number), "m4", "ft4"),
          WithUnit(Optional("Iw", ValueKind::Number), "m6", "ft6"),
          WithUnit(Optional("Wply", ValueKind::Number), "m3", "ft3"),
          WithUnit(Optional("Wplz", ValueKind::Number), "m3", "ft3"), Optional("Id")}});
    rules.push_back({"StructuralPointConnection",
                     {Required("Name"), length(Required("Coordinate X", ValueKind::Number)),
                      length(Required("Coordinate Y", ValueKind::Number)),
                      length(Required("Coordinate Z", ValueKind::Number)), Optional("Id")}});
    rules.push_back(
        {"StructuralCurveMember",
         {Required("Name"), Optional("Type"),
          Naming(Required("Cross section", ValueKind::Reference), "StructuralCrossSection"),
          Optional("Arbitrary definition"), Naming(Required("Nodes", ValueKind::ReferenceList), Nodes),
          Choosing(Required("Segments", ValueKind::ChoiceList),
                   {"Line", "Circular Arc", "Parabolic Arc", "Bezier", "Spline-n"}),
          Naming(Optional("Internal nodes", ValueKind::ReferenceList), Nodes),
          length(Optional("Length", ValueKind::Number)),
          Choosing(Optional("Geometrical shape", ValueKind::Choice),
                   {"Line", "Circular Arc", "Parabolic Arc", "Bezier", "Spline", "Polyline"}),
          Choosing(Required("LCS", ValueKind::Choice),
                   {"y by vector", "z by vector", "y by point", "z by point"}),
          angle(Required("LCS Rotation", ValueKind::Number)),
          length(Required("Coordinate X", ValueKind::Number)),
          length(Required("Coordinate Y", ValueKind::Number)),
          length(Required("Coordinate Z", ValueKind::Number)),
          Choosing(Required("System line", ValueKind::Choice),
                   {"Centre", "Top", "Bottom", "Left", "Right", "Top left", "Top right", "Bottom left",
                    "Bottom right"}),
          small(Optional("Structural Y Eccentricity of Beg Node", ValueKind::Number)),
          small(Optional("Structural Y Eccentricity of End Node", ValueKind::Number)),
          small(Optional("Structural Z Eccentricity of Beg Node", ValueKind::Number)),
          small(Optional("Structural Z Eccentricity of End Node", ValueKind::Number)),
          small(Required("Analysis Y Eccentricity of Beg Node", ValueKind::Number)),
          small(Required("Analysis Y Eccentricity of End Node", ValueKind::Number)),
          small(Required("Analysis Z Eccentricity of Beg Node", ValueKind::Number)),
          small(Required("Analysis Z Eccentricity of End Node", ValueKind::Number)), Optional("Layer"),
          Choosing(Required("Behaviour in analysis", ValueKind::Choice),
                   {"Standard", "Axial force only", "Compression only", "Tension only"}),
          Optional("Color", ValueKind::Color), Optional("Parent ID"), Optional("Id"),
          // 2.1.0 named the ends in columns of their own.
          Naming(Optional("Begin node", ValueKind::Reference), Nodes),
          Naming(Optional("End node", ValueKind::Reference), Nodes)}});
    rules.push_back({"StructuralSurfaceMember",
                     {Required("Name"),
                      Optional("Type"),
                      Naming(Required("Material", ValueKind::Reference), "StructuralMaterial"),
                      Choosing(Required("Thickness type", ValueKind::Choice),
                               {"Constant", "Variable in global X", "Variable in global Y",
                                "Variable in global Z", "Variable in local X", "Variable in local Y",
                                "Variable in direction XY", "Variable radially"}),
                      small(Required("Thickness", ValueKind::NumberOrText)),
                      Choosing(Required("System plane at", ValueKind::Choice), {"Bottom", "Centre", "Top"}),
                      Naming(Required("Nodes", ValueKind::ReferenceList), Nodes),
                      Naming(Optional("Internal nodes", ValueKind::ReferenceList), Nodes),
                      Choosing(Required("Edges", ValueKind::ChoiceList),
                               {"Line", "Circular Arc", "Circle by 3 points", "Circle and Point",
                                "Parabolic arc", "Bezier", "Spline-n"}),
                      WithUnit(Optional("Area", ValueKind::Number), "m2", "ft2"),
                      Optional("Layer"),
                      Since220(Choosing(Required("LCS Type", ValueKind::Choice),
                                        {"x by vector", "y by vector", "Tilt of vector defined by point"})),
                      Since220(length(Required("Coordinate X", ValueKind::Number))),
                      Since220(length(Required("Coordinate Y", ValueKind::Number))),
                      Since220(length(Required("Coordinate Z", ValueKind::Number))),
                      Since220(angle(Required("LCS Rotation", ValueKind::Number))),
                      small(Optional("Structural Z Eccentricity", ValueKind::Number)),
                      small(Required("Analysis Z Eccentricity", ValueKind::Number)),
                      Choosing(Optional("Shape", ValueKind::Choice), {"Flat", "Curved"}),
                      Choosing(Required("Behavior in analysis", ValueKind::Choice),
                               {"Isotropic", "Orthotropic", "Membrane", "Press only"}),
                      Optional("Color", ValueKind::Color),
                      Optional("Parent ID"),
                      Optional("Id")}});
    rules.push_back(
        {"StructuralStorey",
         {Required("Name"), length(Required("Height level", ValueKind::Number)), Optional("Id")}});
    const auto stiffness = [](std::string_view header, bool (*condition)(const RowValues&),
                              std::string_view text, bool rotational) {
        return WithUnit(When(Optional(header, ValueKind::Number), condition, text),
                        rotational ? "MNm/rad" : "MN/m", rotational ? "kipft/deg" : "kip/ft");
    };
    rules.push_back(
        {"StructuralPointSupport",
         {Required("Name"),
          Choosing(Optional("Type", ValueKind::Choice), {"Fixed", "Hinged", "Sliding", "Custom"}),
          Since220(Choosing(Required("Boundary condition", ValueKind::Choice), {"In node", "On beam"})),
          Naming(When(Optional("Node", ValueKind::Reference), InNode, "for a support in a node"), Nodes),
          Naming(When(Optional("Member", ValueKind::Reference), OnBeam, "for a support on a beam"),
                 "StructuralCurveMember"),
          Choosing(When(Optional("Coordinate system", ValueKind::Choice), OnBeam, "for a support on a beam"),
                   {"Global", "Local"}),
          Choosing(When(Optional("Origin", ValueKind::Choice), OnBeam, "for a support on a beam"),
                   {"From start", "From end"}),
          Choosing(
              When(Optional("Coordinate definition", ValueKind::Choice), OnBeam, "for a support on a beam"),
              {"Absolute", "Relative"}),
          length(When(Optional("Position x", ValueKind::Number), OnBeam, "for a support on a beam")),
          Choosing(Required("ux", ValueKind::Choice), TranslationKinds),
          Choosing(Required("uy", ValueKind::Choice), TranslationKinds),
          Choosing(Required("uz", ValueKind::Choice), TranslationKinds),
          Choosing(Required("fix", ValueKind::Choice), RotationKinds),
          Choosing(Required("fiy", ValueKind::Choice), RotationKinds),
          Choosing(Required("fiz", ValueKind::Choice), RotationKinds),
          stiffness("Stiffness X", Flexible<Ux>, "when ux is Flexible or Non linear", false),
          stiffness("Stiffness Y", Flexible<Uy>, "when uy is Flexible or Non linear", false),
          stiffness("Stiffness Z", Flexible<Uz>, "when uz is Flexible or Non linear", false),
          stiffness("Stiffness Fix", Flexible<Fix>, "when fix is Flexible or Non linear", true),
          stiffness("Stiffness Fiy", Flexible<Fiy>, "when fiy is Flexible or Non linear", true),
          stiffness("Stiffness Fiz", Flexible<Fiz>, "when fiz is Flexible or Non linear", true),
          Optional("Id")}});
    return rules;
}

} // namespace

const std::vector<SheetRule>& SafSheetRules() {
    static const std::vector<SheetRule> rules = BuildRules();
    return rules;
}

const SheetRule* RuleOfSheet(std::string_view name) {
    for (const SheetRule& rule : SafSheetRules()) {
        if (rule.name == name) {
            return &rule;
        }
    }
    return nullptr;
}

const std::vector<ModelRowRule>& ModelRowRules() {
    static const std::vector<ModelRowRule> rules = {
        {"SAF Version", true},
        {"Global coordinate system",
         true,
         {"X vertical", "Y vertical", "Z vertical", "minus X vertical", "minus Y vertical",
          "minus Z vertical"}},
        {"LCS of cross-section",
         true,
         {"ZYX", "MinusYZX", "MinusZMinusYX", "YMinusZX", "YZMinusX", "MinusZYMinusX", "MinusYMinusZMinusX",
          "ZMinusYMinusX"}},
        {"System of units", true, {"Metric", "Imperial"}},
        {"National code", true},
    };
    return rules;
}

const std::vector<std::string_view>& NationalCodes() {
    static const std::vector<std::string_view> codes = {
        "EC-Standard-EN", "EC-ONORM-EN", "EC-TKP-EN",  "EC-NBN-EN", "EC-BAS-EN", "EC-BS-EN",   "EC-BDS-EN",
        "EC-CYS-EN",      "EC-CSN-EN",   "EC-DS-EN",   "EC-NEN-EN", "EC-EVS-EN", "EC-SFS-EN",  "EC-NF-EN",
        "EC-DIN-EN",      "EC-ELOT-EN",  "EC-MSZ-EN",  "EC-IST-EN", "EC-IS-EN",  "EC-UNI-EN",  "EC-LVS-EN",
        "EC-LST-EN",      "EC-LU-EN",    "EC-MS-EN",   "EC-MSA-EN", "EC-MKC-EN", "EC-NS-EN",   "EC-PN-EN",
        "EC-NP-EN",       "EC-SR-EN",    "EC-SRPS-EN", "EC-SS-EN",  "EC-STN-EN", "EC-SIST-EN", "EC-UNE-EN",
        "EC-SN-EN",       "EC-TS-EN",    "IBC",        "NBR",       "SIA 26x"};
    return codes;
}

const std::vector<std::string_view>& ParametricShapes() {
    static const std::vector<std::string_view> shapes = {"Circle",
                                                         "Rectangle",
                                                         "Double rectangle",
                                                         "Triple rectangle",
                                                         "Rectangle with plates",
                                                         "Double rectangle with plates",
                                                         "I Section",
                                                         "I Section with haunch",
                                                         "T Section",
                                                         "C Section",
                                                         "L Section",
                                                         "L Section opposite",
                                                         "U Section",
                                                         "Oval",
                                                         "Pipe",
                                                         "Polygon",
                                                         "X Section",
                                                         "Z Section",
                                                         "Box",
                                                         "Double box",
                                                         "I rolled",
                                                         "I rolled asymmetric",
                                                         "Tube",
                                                         "Angle",
                                                         "Channel",
                                                         "T tee",
                                                         "Z zee",
                                                         "Cold formed Channel",
                                                         "Cold formed Channel with lips",
                                                         "Cold formed Zee"};
    return shapes;
}

const std::vector<std::string_view>& CompoundShapes() {
    static const std::vector<std::string_view> shapes = {
        "Double I section", "Double Channel FtF", "Double Channel BtB",  "Starred Angle",
        "Double Angle BtB", "Double Angle FtF",   "Double Angle BtB LL", "Double Angle FtF LL",
        "Four Angle BtB",   "Four Angle FtF",     "Four Angle I",        "Double pipe"};
    return shapes;
}

bool IsChoice(std::string_view value, const std::vector<std::string_view>& choices) {
    const std::string_view trimmed = Trimmed(value);
    for (const std::string_view choice : choices) {
        if (choice != "Spline-n") {
            if (EqualsFolded(trimmed, choice)) {
                return true;
            }
        } else {
            const std::string folded = Folded(trimmed);
            const std::string_view prefix = "spline-";
            if (folded.size() > prefix.size() && folded.compare(0, prefix.size(), prefix) == 0) {
                const std::string digits = folded.substr(prefix.size());
                if (std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }) &&
                    digits.size() < 9 && std::stol(digits) >= 2) {
                    return true;
                }
            }
        }
    }
    return false;
}

} // namespace AnalysisApp
