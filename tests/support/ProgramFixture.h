#pragma once
// The usual test setting: a scripted platform whose program folder lies in a fresh temporary
// installation, its run's facts installed, and every module-wide state back at its start value.

#include "support/ScriptedPlatform.h"
#include "support/TempInstallation.h"

#include <QByteArrayList>

#include <gtest/gtest.h>

// The start mode and what the error protocol keeps of a run, back at program start.
void resetRun();

class ProgramFixture : public testing::Test {
protected:
    ProgramFixture();
    ~ProgramFixture() override { resetRun(); }

    // Everything back as a new run of the program finds it, the platform's files included.
    void nextRun();
    // The run's facts worked out again from the platform, after a test changed what it reports
    // (its folder, its name, its command line).
    void refreshFacts();
    // The error log's entries (split at CR LF) of a standalone run.
    QByteArrayList errorLogEntries() const;

    TempInstallation installation;
    ScriptedPlatform platform;
};
