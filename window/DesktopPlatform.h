#pragma once
// The real machine with a screen: the message boxes, the mouse pointer and the pending events
// of an interactive run, through Qt Widgets. While a save waits for another program's lock,
// the window keeps repainting under the busy pointer; the user's input waits until the store
// is done.

#include "platform/MachinePlatform.h"

namespace window {

class DesktopPlatform : public platform::MachinePlatform {
public:
    DesktopPlatform(int argc, char** argv);

    platform::Answer messageBox(const QString& text, const QString& title, platform::Icon icon,
                                platform::Buttons buttons, platform::Answer defaultButton) override;
    void setMousePointer(platform::Pointer pointer) override;
    void processPendingEvents() override;

private:
    bool hourglassShown_ = false;
};

// The system's texts break lines with LF CR (and the info box with CR LF); a message box
// shows each such pair as one line break.
QString textForDisplay(const QString& text);

} // namespace window
