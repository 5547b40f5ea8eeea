// Shows the dialog window on its own, without the start-up sequence, on a throw-away
// installation: the language file is created there as on a first run.
//
//   window_preview                 opens the window
//   window_preview --grab FILE     renders it offscreen into FILE (PNG) and exits
//   window_preview --help-mode     shows the question-mark button as in help mode
//   window_preview --ticked BITS   ticks the check boxes of bits 0 to 4 of BITS

#include "i18n/ControlTexts.h"
#include "run/RunFacts.h"
#include "window/DesktopPlatform.h"
#include "window/frm_415_MainPicture_Config_Exe.h"

#include <QApplication>
#include <QDir>
#include <QStringList>
#include <QTemporaryDir>

#include <cstdio>
#include <cstring>

namespace {

// The real platform, but the program folder lies in the temporary installation and the
// executable is named as the program's.
class PreviewPlatform : public window::DesktopPlatform {
public:
    PreviewPlatform(int argc, char** argv, const QString& folder)
        : DesktopPlatform(argc, argv), folder_(folder) {}
    QString programFolder() override { return folder_; }
    QString executableFileName() override { return QStringLiteral("415_MainPicture_Config"); }

private:
    QString folder_;
};

QString switchValue(int argc, char** argv, const char* name) {
    for (int i = 1; i + 1 < argc; ++i)
        if (std::strcmp(argv[i], name) == 0)
            return QString::fromLocal8Bit(argv[i + 1]);
    return QString();
}

bool hasSwitch(int argc, char** argv, const char* name) {
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], name) == 0)
            return true;
    return false;
}

} // namespace

int main(int argc, char** argv) {
    const QString target = switchValue(argc, argv, "--grab");
    if (!target.isEmpty())
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);

    QTemporaryDir installation;
    const QString folder = installation.path() + QStringLiteral("/415_MainPicture");
    QDir().mkpath(folder);
    PreviewPlatform preview(argc, argv, folder);
    platform::install(&preview);
    installRunFacts(factsOf(preview));

    frm_415_MainPicture_Config_Exe window;
    DialogModel& model = window.dialog().model;
    LoadToolTipTexts(model);
    const int ticked = switchValue(argc, argv, "--ticked").toInt();
    for (int bit = 0; bit < DialogModel::OptionCount; ++bit)
        model.optionBox(bit).setValue(qint16((ticked >> bit) & 1));
    if (hasSwitch(argc, argv, "--help-mode"))
        window.CommandQuest_Click();
    window.show();
    window.activateWindow();

    if (target.isEmpty())
        return QApplication::exec();
    QApplication::processEvents();
    if (!window.grab().save(target, "PNG")) {
        std::fprintf(stderr, "window_preview: cannot write %s\n", qPrintable(target));
        return 1;
    }
    return 0;
}
