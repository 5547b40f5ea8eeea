// The smallest Qt Widgets program, the yardstick for the program's start-up. Without arguments
// it creates its application object on the offscreen platform and returns from main. With
// "--end-at-once" it ends the process right after that instead, as the program ends its silent
// run, without taking the application down. With "--show" it shows an empty window of the
// dialog's size on the platform it finds and runs until ended.

#include <QApplication>
#include <QWidget>

#include <cstdlib>
#include <cstring>

int main(int argc, char** argv) {
    const char* mode = argc > 1 ? argv[1] : "";
    const bool show = std::strcmp(mode, "--show") == 0;
    if (!show)
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    if (std::strcmp(mode, "--end-at-once") == 0)
        std::_Exit(0);
    if (!show)
        return 0;
    QWidget window;
    window.resize(792, 573);
    window.show();
    return application.exec();
}
