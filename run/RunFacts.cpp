#include "run/RunFacts.h"

#include "platform/Platform.h"
#include "run/Switches.h"

namespace {
// The length of "_Config" that the executable's name carries beyond the component's.
constexpr qsizetype ConfigSuffixLength = 7;

RunFacts installed;
} // namespace

RunFacts factsOf(platform::Platform& platform) {
    RunFacts facts;
    facts.arguments = platform.commandLineArguments();
    facts.external = switchValue(facts.arguments, QStringLiteral("EXTERNAL"));
    facts.logFile = switchValue(facts.arguments, QStringLiteral("LOGFILE"));
    facts.unattended = facts.external == QLatin1String("SILENT");
    facts.programFolder = platform.programFolder();
    const qsizetype lastSeparator = facts.programFolder.lastIndexOf(QLatin1Char('/'));
    facts.installationFolder =
        lastSeparator < 0 ? QString() : facts.programFolder.left(lastSeparator);
    facts.executableFileName = platform.executableFileName();
    facts.executableName = platform::withoutExeExtension(facts.executableFileName);
    // A name of seven characters or fewer leaves nothing of the component's name.
    if (facts.executableName.size() > ConfigSuffixLength)
        facts.componentName =
            facts.executableName.left(facts.executableName.size() - ConfigSuffixLength);
    return facts;
}

const RunFacts& runFacts() {
    return installed;
}

void installRunFacts(const RunFacts& facts) {
    installed = facts;
}
