#pragma once
// The usual test setting: a scripted platform whose program folder lies in a fresh temporary
// installation, and every module-wide state back at its start value.

#include "run/RunState.h"
#include "support/ScriptedPlatform.h"
#include "support/TempInstallation.h"

#include <QByteArrayList>

#include <gtest/gtest.h>

class ProgramFixture : public testing::Test {
protected:
    ProgramFixture();
    ~ProgramFixture() override { resetRunState(); }

    // The error log's entries (split at CR LF) of a standalone run.
    QByteArrayList errorLogEntries() const;

    TempInstallation installation;
    ScriptedPlatform platform;
};
