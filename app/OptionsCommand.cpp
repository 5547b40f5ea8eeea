#include "app/OptionsCommand.h"

#include "diag/ErrorProtocol.h"
#include "dialog/Dialog.h"
#include "platform/Platform.h"
#include "run/RunFacts.h"

#include <cstdio>

namespace {

const QString Usage = QStringLiteral("use --show [--json] or --set name=on|off[,name=on|off...]");

int refuse(const QString& reason) {
    std::fprintf(stderr, "%s: %s\n", qPrintable(runFacts().executableFileName), qPrintable(reason));
    return platform::ExitUsage;
}

void print(const QString& text) {
    std::fputs(text.toLocal8Bit().constData(), stdout);
    std::fflush(stdout);
}

void unattended() {
    RunFacts facts = runFacts();
    facts.unattended = true;
    installRunFacts(facts);
}

int show(bool json) {
    Dialog dialog;
    const Read<qint16> value = dialog.SetupUserInterFace();
    // In bit order, the same in both forms; the names need no escaping in JSON.
    QString plain, object = QStringLiteral("{");
    for (int bit = 0; bit < DialogModel::OptionCount; ++bit) {
        const bool on = dialog.model.optionBox(bit).Value() == 1;
        const QString name = QString::fromLatin1(OptionNames[size_t(bit)]);
        plain += name + (on ? QStringLiteral("=on\n") : QStringLiteral("=off\n"));
        object += QStringLiteral("\"%1\":%2,")
                      .arg(name, on ? QStringLiteral("true") : QStringLiteral("false"));
    }
    plain += QStringLiteral("MainPictureStatus=%1\n").arg(value.value);
    object += QStringLiteral("\"MainPictureStatus\":%1}\n").arg(value.value);
    // Options that could not be read are not shown as if they were: the run fails instead.
    if (!value.unread)
        print(json ? object : plain);
    endRun(everythingReadAndStored() ? platform::ExitNormal : platform::ExitNotStored);
}

int set(const OptionsRequest& request) {
    Dialog dialog;
    const bool changed = dialog.SetOptions(request.bits);
    const bool done = everythingReadAndStored();
    if (done)
        print(changed ? QStringLiteral("changed\n") : QStringLiteral("unchanged\n"));
    endRun(done ? platform::ExitNormal : platform::ExitNotStored);
}

} // namespace

OptionsRequest parseOptionsList(const QString& list) {
    OptionsRequest request;
    if (list.isEmpty()) {
        request.refusal = QStringLiteral("--set needs a list of name=on|off");
        return request;
    }
    for (const QString& item : list.split(QLatin1Char(','))) {
        const QString name = item.section(QLatin1Char('='), 0, 0);
        const QString value = item.section(QLatin1Char('='), 1);
        int bit = 0;
        while (bit < int(OptionNames.size()) && name != QLatin1String(OptionNames[size_t(bit)]))
            ++bit;
        if (item.isEmpty())
            request.refusal = QStringLiteral("an empty item in the list \"%1\"").arg(list);
        else if (bit == int(OptionNames.size()))
            request.refusal = QStringLiteral("unknown option \"%1\"; the options are %2")
                                  .arg(name, QStringList(OptionNames.begin(), OptionNames.end())
                                                 .join(QStringLiteral(", ")));
        else if (value != QLatin1String("on") && value != QLatin1String("off"))
            request.refusal = QStringLiteral("\"%1\": the value must be on or off").arg(item);
        else if (request.bits[size_t(bit)])
            request.refusal = QStringLiteral("\"%1\" is given twice").arg(name);
        else
            request.bits[size_t(bit)] = value == QLatin1String("on");
        if (!request.refusal.isEmpty())
            return request;
    }
    return request;
}

std::optional<int> answerOptionsRequest(const QStringList& arguments) {
    const QString form = arguments.value(0);
    if (form != QLatin1String("--show") && form != QLatin1String("--set"))
        return std::nullopt;
    if (form == QLatin1String("--show")) {
        const bool json = arguments.value(1) == QLatin1String("--json");
        if (arguments.size() > (json ? 2 : 1))
            return refuse(QStringLiteral("--show takes --json and nothing else; ") + Usage);
        unattended();
        return show(json);
    }
    if (arguments.size() < 2)
        return refuse(QStringLiteral("--set needs a list of name=on|off; ") + Usage);
    if (arguments.size() > 2)
        return refuse(QStringLiteral("--set takes one list, without blanks; ") + Usage);
    const OptionsRequest request = parseOptionsList(arguments.at(1));
    if (!request.refusal.isEmpty())
        return refuse(request.refusal);
    unattended();
    return set(request);
}
