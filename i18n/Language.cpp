#include "i18n/Language.h"

#include "diag/Procedure.h"
#include "run/HostPath.h"
#include "run/RunFacts.h"
#include "store/IniAccess.h"

namespace {
const QString LanguageSection = QStringLiteral("Language");
const QString LanguageKey = QStringLiteral("Language");
} // namespace

QString languageFilePath() {
    // Found without regard to case, as the program's other files are, so that a file spelled
    // otherwise is used and completed instead of a second one being created beside it.
    return onDiskSpelling(runFacts().programFolder + QLatin1Char('/') + runFacts().executableName +
                          QStringLiteral(".ini"));
}

Read<QString> GetLanguage() {
    Procedure procedure("GetLanguage");
    QString language;
    procedure.step([&] {
        language =
            procedure.take(LoadIniString(LanguageSection, LanguageKey, languageFilePath(), false));
    });
    if (procedure.readFailed())
        return procedure.result(language.isEmpty() ? DesignLanguage : language);
    if (!language.isEmpty())
        return procedure.result(language);
    procedure.step([&] {
        static_cast<void>(
            SaveIni(DesignLanguage, LanguageSection, LanguageKey, languageFilePath()));
    });
    return procedure.result(DesignLanguage);
}
