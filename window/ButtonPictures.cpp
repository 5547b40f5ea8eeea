#include "window/ButtonPictures.h"

#include <QKeyEvent>
#include <QPainter>
#include <QPainterPath>
#include <qdrawutil.h>

#include <iterator>

namespace pictures {

namespace {

// A transparent canvas; painting on it is aliased, so every pixel is either transparent or
// exactly the pen's colour.
QImage canvas(int width, int height) {
    QImage image(width, height, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    return image;
}

QPen thickPen(const QColor& colour, qreal width) {
    return QPen(colour, width, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin);
}

} // namespace

// The shapes reach every edge of their canvas, so a picture's visible size is its size.

QImage tick() {
    QImage image = canvas(44, 36);
    QPainter painter(&image);
    painter.setPen(Qt::NoPen);
    painter.setBrush(TickColour);
    const QPointF outline[] = {{-1, 19}, {6, 12}, {15, 21}, {37, -1}, {45, 6}, {15, 36}, {14, 36}};
    painter.drawPolygon(outline, std::size(outline));
    return image;
}

QImage cross() {
    QImage image = canvas(37, 39);
    QPainter painter(&image);
    painter.setPen(thickPen(CrossColour, 7));
    painter.drawLine(QPointF(0, 0), QPointF(37, 39));
    painter.drawLine(QPointF(37, 0), QPointF(0, 39));
    return image;
}

QImage questionMark() {
    QImage image = canvas(41, 45);
    QPainter painter(&image);
    painter.setPen(thickPen(QuestionMarkColour, 5));
    painter.setBrush(Qt::NoBrush);
    // The hook: from the left of its bow over the top down to the right, then back in to the
    // stem, which stands above the dot.
    QPainterPath hook;
    hook.arcMoveTo(QRectF(17, 2.5, 22, 17), 180);
    hook.arcTo(QRectF(17, 2.5, 22, 17), 180, -240);
    hook.lineTo(27.5, 23);
    hook.lineTo(27.5, 30);
    painter.drawPath(hook);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QuestionMarkColour);
    painter.drawRect(QRect(25, 34, 5, 5));
    // The arrow: a short shaft down to the lower left, ending in a solid head in the corner.
    painter.setPen(thickPen(QuestionMarkColour, 3));
    painter.drawLine(QPointF(16, 29), QPointF(5, 40));
    painter.setPen(Qt::NoPen);
    const QPointF head[] = {{-1, 33}, {-1, 46}, {12, 46}};
    painter.drawPolygon(head, std::size(head));
    return image;
}

QImage forDesign(design::Picture picture) {
    switch (picture) {
    case design::Picture::Tick:
        return tick();
    case design::Picture::Cross:
        return cross();
    case design::Picture::QuestionMark:
        return questionMark();
    case design::Picture::None:
        break;
    }
    return QImage();
}

QString spokenName(design::Picture picture) {
    switch (picture) {
    case design::Picture::Tick:
        return QStringLiteral("OK");
    case design::Picture::Cross:
        return QStringLiteral("Cancel");
    case design::Picture::QuestionMark:
        return QStringLiteral("Help mode");
    case design::Picture::None:
        break;
    }
    return QString();
}

QImage recoloured(const QImage& picture, const QColor& colour) {
    QImage image = picture.convertToFormat(QImage::Format_ARGB32);
    QPainter painter(&image);
    painter.setCompositionMode(QPainter::CompositionMode_SourceIn);
    painter.fillRect(image.rect(), colour);
    return image;
}

} // namespace pictures

PictureButton::PictureButton(const QImage& picture, const QString& spokenName, QWidget* parent)
    : QPushButton(parent), picture_(picture), spokenName_(spokenName) {
    // Outside a dialog there is no default button; Enter is handled in keyPressEvent.
    setAutoDefault(false);
    setDefault(false);
    nameForScreenReaders();
}

bool PictureButton::event(QEvent* event) {
    if (event->type() == QEvent::ToolTipChange)
        nameForScreenReaders();
    return QPushButton::event(event);
}

void PictureButton::nameForScreenReaders() {
    setAccessibleName(toolTip().isEmpty() ? spokenName_ : toolTip());
}

void PictureButton::setBackColor(const QColor& colour) {
    backColor_ = colour;
    update();
}

void PictureButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const bool sunken = isDown() || isChecked();
    const QBrush fill(backColor_);
    qDrawWinButton(&painter, rect(), palette(), sunken, &fill);

    // The picture centred over the caption (when there is one); both move by one pixel while
    // the button is held down.
    const QFontMetrics metrics(font());
    const int captionHeight = text().isEmpty() ? 0 : metrics.height();
    const int gap = text().isEmpty() || picture_.isNull() ? 0 : 2;
    const int contentHeight = picture_.height() + gap + captionHeight;
    const QPoint shift = sunken ? QPoint(1, 1) : QPoint(0, 0);
    const int top = (height() - contentHeight) / 2;
    const QPoint picturePlace = QPoint((width() - picture_.width()) / 2, top) + shift;

    if (!picture_.isNull()) {
        if (isEnabled()) {
            painter.drawImage(picturePlace, picture_);
        } else {
            painter.drawImage(picturePlace + QPoint(1, 1),
                              pictures::recoloured(picture_, palette().color(QPalette::Light)));
            painter.drawImage(picturePlace,
                              pictures::recoloured(picture_, palette().color(QPalette::Mid)));
        }
    }
    if (captionHeight > 0) {
        const QRect captionRect =
            QRect(0, top + picture_.height() + gap, width(), captionHeight).translated(shift);
        painter.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled,
                                       QPalette::ButtonText));
        painter.drawText(captionRect, Qt::AlignHCenter | Qt::AlignTop | Qt::TextShowMnemonic,
                         text());
    }
    if (hasFocus()) {
        painter.setPen(QPen(palette().color(QPalette::ButtonText), 1, Qt::DotLine));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(rect().adjusted(4, 4, -5, -5).translated(shift));
    }
}

void PictureButton::keyPressEvent(QKeyEvent* event) {
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
        !event->isAutoRepeat()) {
        click();
        return;
    }
    QPushButton::keyPressEvent(event);
}
