#pragma once

#include <QWidget>

class FormAnimation;
class QLabel;

// The toast: a dark rounded message centred over the window. ShowToast
// leaves it standing; FlashToast fades it out 0.5 s later in 0.3 s. The
// faded layer stays "visible" at opacity 0 and lets clicks through.
class ToastLayer : public QWidget {
    Q_OBJECT
public:
    explicit ToastLayer(QWidget* window);

    void ShowToast(const QString& text);
    void FlashToast(const QString& text);

    QWidget* MessageRect = nullptr;
    QLabel* MsgText = nullptr;
    FormAnimation* ToastAnimation = nullptr;

private:
    void placeOverWindow();
};
