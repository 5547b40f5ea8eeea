#include "i18n/Language.h"

#include "diag/Procedure.h"
#include "platform/PathCase.h"
#include "platform/Platform.h"
#include "run/ProgramFolders.h"
#include "run/RunState.h"
#include "store/IniAccess.h"

namespace {
const QString LanguageSection = QStringLiteral("Language");
const QString LanguageKey = QStringLiteral("Language");
} // namespace

QString languageFilePath() {
    // Found without regard to case, as the program's other files are, so that a file spelled
    // otherwise is used and completed instead of a second one being created beside it.
    return platform::existingSpelling(programFolder() + QLatin1Char('/') +
                                      platform::current().executableName() +
                                      QStringLiteral(".ini"));
}

QString GetLanguage() {
    Procedure procedure("GetLanguage");
    QString language;
    const int failedReadsBefore = Run.failedReads;
    procedure.step(
        [&] { language = LoadIniString(LanguageSection, LanguageKey, languageFilePath(), false); });
    // A language entry that could not be read is not missing: the file keeps what it holds.
    if (!language.isEmpty() || Run.failedReads != failedReadsBefore)
        return language.isEmpty() ? DesignLanguage : language;
    procedure.step(
        [&] { SaveIni(DesignLanguage, LanguageSection, LanguageKey, languageFilePath()); });
    return DesignLanguage;
}
