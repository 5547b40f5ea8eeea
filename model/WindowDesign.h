#pragma once
// The dialog window's design: every control with its kind, container, place, size, tab index,
// help number, tag, built-in caption, font and picture, in the order in which the window holds
// its controls. This is the only place the design is written down: the dialog's model takes its
// controls from it (model/DialogModel.h), and the window builds its widgets from it.

#include <array>

namespace design {

// Layout is designed in twips; the screen has 15 of them per pixel.
constexpr int TwipsPerPixel = 15;
constexpr int toPixels(int twips) {
    return twips / TwipsPerPixel;
}

enum class Kind { CommandButton, Frame, CheckBox, Label };

// A colour by its red, green and blue parts.
struct Rgb {
    int red, green, blue;
    bool operator==(const Rgb& other) const {
        return red == other.red && green == other.green && blue == other.blue;
    }
};
enum class Picture { None, Tick, Cross, QuestionMark };

// A font by face, weight (400 normal, 700 bold) and size in points. An empty face keeps the
// toolkit's default font.
struct Font {
    const char* face;
    int weight;
    double points;
};

struct Control {
    const char* name;
    Kind kind;
    const char* container; // nullptr: the window itself
    int left, top;         // twips, relative to the container
    int width, height;     // twips
    int tabIndex;
    int helpNumber; // WhatsThisHelpID; 0 for none
    const char* tag;
    const char* caption;
    Font font;
    Picture picture;
    bool createdEnabled;
};

constexpr const char* WindowName = "frm_415_MainPicture_Config_Exe";
constexpr const char* WindowCaption = "Base JX5CFG-Erweiterung";
constexpr int ClientWidth = 11880; // twips
constexpr int ClientHeight = 8595; // twips
// The window and every control have this background; the question-mark button turns green
// while the help mode is on.
constexpr Rgb LightGrey{192, 192, 192};
constexpr Rgb HelpModeGreen{0, 255, 0};

constexpr int ControlCount = 11;
// The controls in the window's control order: containers come before what they hold.
const std::array<Control, ControlCount>& controls();

} // namespace design
