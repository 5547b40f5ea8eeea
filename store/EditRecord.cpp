#include "store/EditRecord.h"

#include "core/Cp1252.h"
#include "diag/Procedure.h"
#include "platform/Platform.h"
#include "run/RunState.h"
#include "store/FileLocations.h"
#include "store/IniAccess.h"
#include "store/StoreCheck.h"

QString scrambleEditorValue(const QString& editorValue) {
    QString scrambled;
    for (const char byte : core::toCp1252(editorValue)) {
        if (byte == '-' || byte == '_')
            continue;
        scrambled += QString::number(static_cast<unsigned char>(byte) + 5, 16).toUpper();
    }
    return scrambled;
}

void WriteEditInfo() {
    Procedure procedure("WriteEditInfo");
    procedure.step([&] {
        const platform::Version version = platform::current().version();
        const QString programText =
            QStringLiteral("%1.%2.%3").arg(version.major).arg(version.minor).arg(version.revision) +
            (StartModeIntegrated ? QStringLiteral(" - Integrated")
                                 : QStringLiteral(" - Standalone"));
        const QString cfg = procedure.take(GetCFGPath());
        requireStored(SaveIni(programText, QStringLiteral("Info"), QStringLiteral("S_Prog"), cfg),
                      cfg);
    });
    QString editorValue;
    procedure.step([&] {
        const QString entry = platform::current().firstEnvironmentEntry();
        const qsizetype equals = entry.indexOf(QLatin1Char('='));
        editorValue = equals < 0 ? entry : entry.mid(equals + 1);
    });
    QString scrambled;
    procedure.step([&] { scrambled = scrambleEditorValue(editorValue); });
    procedure.step([&] {
        const QString cfg = procedure.take(GetCFGPath());
        requireStored(SaveIni(scrambled, QStringLiteral("Info"), QStringLiteral("S_Editor"), cfg),
                      cfg);
    });
}
