#include "platform/linux/spreadsheet_program.h"

#include <array>

std::optional<SpreadsheetProgram> FindSpreadsheetProgram(
    const std::function<QString(const QString&)>& findExecutable,
    const QString& libreOfficeHelper) {
    struct Candidate {
        const char* name;
        bool isLibreOffice;
    };
    static constexpr std::array<Candidate, 4> candidates = {{
        {"soffice", true},
        {"libreoffice", true},
        {"localc", true},
        {"gnumeric", false},
    }};
    for (const Candidate& candidate : candidates) {
        const QString path = findExecutable(QString::fromLatin1(candidate.name));
        if (path.isEmpty()) {
            continue;
        }
        if (!candidate.isLibreOffice) {
            return SpreadsheetProgram{path, {}};
        }
        if (!libreOfficeHelper.isEmpty()) {
            return SpreadsheetProgram{libreOfficeHelper, {path}, true};
        }
        return SpreadsheetProgram{path, {QStringLiteral("--calc"), QStringLiteral("-n")}};
    }
    return std::nullopt;
}
