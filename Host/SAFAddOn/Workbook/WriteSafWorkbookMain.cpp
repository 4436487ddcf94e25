#include "ExportOptions.hpp"
#include "ModelJson.hpp"
#include "SafWorkbookWriter.hpp"

#include <iostream>
#include <string>

// WriteSafWorkbook MODEL.json OUTPUT.xlsx [--imperial] [--without KIND]...
// Prints the sheets and their object counts.
int main(int argc, char** argv) {
    if (argc < 3) {
        std::cerr << "usage: WriteSafWorkbook MODEL.json OUTPUT.xlsx [--imperial] [--without KIND]...\n";
        return 64;
    }
    SafWorkbook::ExportOptions options;
    for (int index = 3; index < argc; ++index) {
        const std::string option = argv[index];
        if (option == "--imperial") {
            options.unitSystem = SafWorkbook::UnitSystem::Imperial;
        } else if (option == "--without" && index + 1 < argc &&
                   SafWorkbook::SetElementKind(options.kinds, argv[index + 1], false)) {
            ++index;
        } else {
            std::cerr << "WriteSafWorkbook: unknown option " << option << '\n';
            return 64;
        }
    }
    const Building::ModelReadResult read = Building::ReadModelFile(argv[1]);
    if (!read.model) {
        std::cerr << "WriteSafWorkbook: " << read.error << '\n';
        return 1;
    }
    const SafWorkbook::WriteReport report = SafWorkbook::WriteSafWorkbook(*read.model, options, argv[2]);
    if (!report.written) {
        std::cerr << "WriteSafWorkbook: " << report.error << '\n';
        return 1;
    }
    std::cout << SafWorkbook::DescribeSheets(report.sheets) << '\n';
    return 0;
}
