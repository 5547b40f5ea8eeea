#include "model/WindowDesign.h"

namespace design {

namespace {

constexpr Font DefaultFont{"", 400, 0};
constexpr Font CheckBoxFont{"MS Sans Serif", 700, 12};
constexpr Font HeaderFont{"MS Sans Serif", 700, 13.5};

// clang-format off
constexpr std::array<Control, ControlCount> Controls{{
    // name                           kind                 container             left   top  width height tab help tag      caption
    //     font, picture, created enabled
    {"CommandQuest",                 Kind::CommandButton, nullptr,              7350, 7710,   975,   855,  4,   0, "",      "",
     DefaultFont, Picture::QuestionMark, true},
    {"CommandCancel",                Kind::CommandButton, nullptr,             10170, 7710,  1695,   855,  3,   2, "",      "",
     DefaultFont, Picture::Cross, true},
    {"CommandOK",                    Kind::CommandButton, nullptr,              8400, 7710,  1695,   855,  2,   1, "",      "",
     DefaultFont, Picture::Tick, false},
    {"MainFrame",                    Kind::Frame,         nullptr,                 0,  390, 11880,  7260,  0,   0, "",      "",
     DefaultFont, Picture::None, true},
    {"FrameBobinenBock",             Kind::Frame,         "MainFrame",            90,  120,  4470,  2880,  1,  11, "",      "",
     DefaultFont, Picture::None, true},
    {"CheckFaden",                   Kind::CheckBox,      "FrameBobinenBock",    120, 2190,  4245,   600, 10,  16, "",      "ohne Faden",
     CheckBoxFont, Picture::None, true},
    {"CheckBobRechtsFadenAnMasch",   Kind::CheckBox,      "FrameBobinenBock",    120, 1500,  4245,   600,  9,  15, "",      "Bobinen rechts, Faden an der Maschine",
     CheckBoxFont, Picture::None, true},
    {"CheckOhneBobinen",             Kind::CheckBox,      "FrameBobinenBock",    120, 1050,  4245,   375,  8,  14, "",      "ohne Bobinen",
     CheckBoxFont, Picture::None, true},
    {"CheckBobbineLinks",            Kind::CheckBox,      "FrameBobinenBock",    120,  600,  4245,   375,  7,  13, "Paper", "Bobinen links",
     CheckBoxFont, Picture::None, true},
    {"CheckEtikette",                Kind::CheckBox,      "FrameBobinenBock",    120,  150,  4245,   375,  6,  12, "Paper", "mit Etikettenapparat",
     CheckBoxFont, Picture::None, true},
    {"Header",                       Kind::Label,         nullptr,                30,   30, 11775,   360,  5,   0, "",      "415_MainPicture - Konfiguration Hauptbild 415",
     HeaderFont, Picture::None, true},
}};
// clang-format on

} // namespace

const std::array<Control, ControlCount>& controls() {
    return Controls;
}

} // namespace design
