#pragma once
// The pictures of the dialog's three buttons and the graphical push button that shows them.
// Each picture has a transparent background and exactly one colour, drawn without
// antialiasing so that no pixel of it has any other colour:
//   tick          dark green (0, 128, 0)  44 x 36
//   cross         red (255, 0, 0)         37 x 39
//   question mark black, with a short arrow to the lower left, 41 x 45

#include "model/WindowDesign.h"

#include <QColor>
#include <QImage>
#include <QPushButton>

namespace pictures {

constexpr QColor TickColour{0, 128, 0};
constexpr QColor CrossColour{255, 0, 0};
constexpr QColor QuestionMarkColour{0, 0, 0};

QImage tick();
QImage cross();
QImage questionMark();

// The picture of a design entry; a null image for Picture::None.
QImage forDesign(design::Picture picture);

// What a screen reader says for a picture: "OK", "Cancel", "Help mode"; empty for None.
QString spokenName(design::Picture picture);

// The same shape in another colour, alpha kept.
QImage recoloured(const QImage& picture, const QColor& colour);

} // namespace pictures

// A push button that shows a picture (and, when it has one, its caption under it) on a
// background colour of its own, with a raised bevel that sinks while the button is held down.
// A disabled button shows its picture engraved in grey.
//
// The button never acts as a window's default button; Enter and Return click it when it has
// the focus, as Space does.
//
// A screen reader names the button by its tool tip when it has one, otherwise by what its
// picture means.
class PictureButton : public QPushButton {
    Q_OBJECT

public:
    PictureButton(const QImage& picture, const QString& spokenName, QWidget* parent = nullptr);

    QColor backColor() const { return backColor_; }
    // Repaints the button in the new colour.
    void setBackColor(const QColor& colour);

    const QImage& picture() const { return picture_; }
    // What the picture means, short: "OK", "Cancel", "Help mode".
    const QString& spokenName() const { return spokenName_; }

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void nameForScreenReaders();

    QImage picture_;
    QString spokenName_;
    QColor backColor_{design::LightGrey.red, design::LightGrey.green, design::LightGrey.blue};
};
