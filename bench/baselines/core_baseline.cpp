// The yardstick for a silent run: a program that links the same Qt libraries as the program,
// starts a core application, reads the three files a settled silent run reads (Program.ini, the
// language file, the .cfg file, given as arguments) and ends at once, as the program does.

#include <QCoreApplication>
#include <QFile>
#include <QWidget>

#include <cstdlib>

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    qint64 bytes = 0;
    for (int i = 1; i < argc; ++i) {
        QFile file(QString::fromLocal8Bit(argv[i]));
        if (file.open(QIODevice::ReadOnly))
            bytes += file.readAll().size();
    }
    // The widget library is linked, as the program's is, but no widget is made.
    if (bytes < 0)
        QWidget().show();
    std::_Exit(bytes > 0 ? 0 : 1);
}
