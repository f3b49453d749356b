#pragma once

#include <QColor>
#include <QLabel>
#include <QWidget>

// A text inside a round button. It lets clicks through to its button and
// carries the colour that the button's colour animation runs.
class ButtonText : public QLabel {
    Q_OBJECT
public:
    ButtonText(const QString& name, const QString& text, QWidget* button, int pointSize = 12);

    int Tag = 0;
    QColor textColour() const { return colour; }
    void setTextColour(const QColor& c);

private:
    QColor colour = Qt::white;
};

// The window's command button: a rounded rectangle filled with a colour or a
// two-colour gradient, holding a picture (an SVG resource) or a text. It only
// reports the click; the command runs when the animation the click starts
// has finished.
class RoundButton : public QWidget {
    Q_OBJECT
public:
    RoundButton(const QString& name, QWidget* parent, int tag = 0);

    int Tag = 0;

    // A picture from the resources, ":/icons/read.svg". While the alternate
    // picture is shown it is drawn in the accent colour.
    void setPicture(const QString& resource);
    QString picture() const { return pictureResource; }
    void setAlternatePicture(bool on);
    bool alternatePicture() const { return alternate; }
    void setPictureScale(double scale);

    // Fill: one colour, or a gradient from top to bottom.
    void setFillColour(const QColor& c);
    QColor fillColour() const { return fillTop; }
    void setFillGradient(const QColor& top, const QColor& bottom);
    QColor gradientBottom() const { return fillBottom; }
    void setBorderColour(const QColor& c);
    void setRadius(double r);

    // A centred text of its own, named as the form names it.
    ButtonText* addText(const QString& name, const QString& text, int pointSize = 12);
    ButtonText* text() const { return label; }

signals:
    void clicked();
    void pressed();
    void released();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QString pictureResource;
    bool alternate = false;
    double pictureScale = 0.62;
    QColor fillTop;
    QColor fillBottom;
    QColor border;
    double radius = -1;  // negative: fully round ends
    bool down = false;
    ButtonText* label = nullptr;
};

// A picture that may be turned about its centre (the throttle plate).
class SvgPicture : public QWidget {
    Q_OBJECT
public:
    SvgPicture(const QString& name, const QString& resource, QWidget* parent);

    void setResource(const QString& resource);
    QString resource() const { return pictureResource; }
    void setRotation(double degrees);
    double rotation() const { return angle; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString pictureResource;
    double angle = 0;
};
