#include "roundbutton.h"

#include "theme.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QSvgRenderer>

namespace {

// Draws an SVG into rect; tinted, every drawn pixel takes the tint colour.
void drawSvg(QPainter& painter, const QString& resource, const QRectF& rect, const QColor& tint = {})
{
    QSvgRenderer renderer(resource);
    if (!renderer.isValid())
        return;
    if (!tint.isValid()) {
        renderer.render(&painter, rect);
        return;
    }
    const qreal dpr = painter.device()->devicePixelRatioF();
    QImage image((rect.size() * dpr).toSize(), QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(dpr);
    image.fill(Qt::transparent);
    {
        QPainter p(&image);
        renderer.render(&p, QRectF(QPointF(), rect.size()));
        p.setCompositionMode(QPainter::CompositionMode_SourceIn);
        p.fillRect(QRectF(QPointF(), rect.size()), tint);
    }
    painter.drawImage(rect.topLeft(), image);
}

}  // namespace

ButtonText::ButtonText(const QString& name, const QString& text, QWidget* button, int pointSize)
    : QLabel(text, button)
{
    setObjectName(name);
    setAlignment(Qt::AlignCenter);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    QFont f = font();
    f.setPointSize(pointSize);
    f.setBold(true);
    setFont(f);
    setTextColour(Qt::white);
}

void ButtonText::setTextColour(const QColor& c)
{
    colour = c;
    setStyleSheet(QStringLiteral("color: %1; background: transparent;").arg(c.name(QColor::HexArgb)));
}

RoundButton::RoundButton(const QString& name, QWidget* parent, int tag)
    : QWidget(parent), Tag(tag), fillTop(Theme::ButtonTop), fillBottom(Theme::ButtonBottom),
      border(Theme::ButtonBorder)
{
    setObjectName(name);
    setCursor(Qt::PointingHandCursor);
    setMinimumSize(36, 36);
}

void RoundButton::setPicture(const QString& resource)
{
    pictureResource = resource;
    update();
}

void RoundButton::setAlternatePicture(bool on)
{
    if (alternate == on)
        return;
    alternate = on;
    update();
}

void RoundButton::setPictureScale(double scale)
{
    pictureScale = scale;
    update();
}

void RoundButton::setFillColour(const QColor& c)
{
    fillTop = c;
    fillBottom = c;
    update();
}

void RoundButton::setFillGradient(const QColor& top, const QColor& bottom)
{
    fillTop = top;
    fillBottom = bottom;
    update();
}

void RoundButton::setBorderColour(const QColor& c)
{
    border = c;
    update();
}

void RoundButton::setRadius(double r)
{
    radius = r;
    update();
}

ButtonText* RoundButton::addText(const QString& name, const QString& text, int pointSize)
{
    label = new ButtonText(name, text, this, pointSize);
    label->Tag = Tag;
    label->setGeometry(rect());
    return label;
}

void RoundButton::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF r = QRectF(rect()).adjusted(1.5, 1.5, -1.5, -1.5);
    const double rr = radius < 0 ? std::min(r.width(), r.height()) / 2 : radius;
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0, down ? fillTop.lighter(130) : fillTop);
    g.setColorAt(1, down ? fillBottom.lighter(130) : fillBottom);
    // Without a picture, the alternate state lights the frame instead.
    const bool lit = alternate && pictureResource.isEmpty();
    p.setPen(QPen(lit ? Theme::Accent : border, lit ? 3.5 : 1.5));
    p.setBrush(g);
    p.drawRoundedRect(r, rr, rr);
    if (!pictureResource.isEmpty()) {
        const double side = std::min(r.width(), r.height()) * pictureScale;
        QRectF pic(0, 0, side, side);
        pic.moveCenter(r.center());
        drawSvg(p, pictureResource, pic, alternate ? Theme::Accent : QColor());
    }
}

void RoundButton::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    down = true;
    update();
    emit pressed();
}

void RoundButton::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || !down)
        return;
    down = false;
    update();
    emit released();
    if (rect().contains(event->position().toPoint()))
        emit clicked();
}

void RoundButton::resizeEvent(QResizeEvent*)
{
    if (label)
        label->setGeometry(rect());
}

SvgPicture::SvgPicture(const QString& name, const QString& resource, QWidget* parent)
    : QWidget(parent), pictureResource(resource)
{
    setObjectName(name);
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void SvgPicture::setResource(const QString& resource)
{
    pictureResource = resource;
    update();
}

void SvgPicture::setRotation(double degrees)
{
    angle = degrees;
    update();
}

void SvgPicture::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    const QRectF r = rect();
    p.translate(r.center());
    p.rotate(angle);
    p.translate(-r.center());
    drawSvg(p, pictureResource, r);
}
