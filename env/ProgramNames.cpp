#include "env/ProgramNames.h"

#include "diag/Procedure.h"

QString GetOCXName() {
    Procedure procedure("GetOCXName");
    QString name;
    procedure.step([&] { name = componentName(); });
    return name;
}

QString GetFileNameOnly(const QString& path) {
    Procedure procedure("GetFileNameOnly");
    QString name;
    procedure.step([&] { name = path.mid(path.lastIndexOf(QLatin1Char('/')) + 1); });
    return name;
}
