#include "toastlayer.h"

#include "formanimation.h"

#include <QCoreApplication>
#include <QLabel>
#include <QVBoxLayout>

ToastLayer::ToastLayer(QWidget* window) : QWidget(window)
{
    setObjectName("ToastLayout");
    setAttribute(Qt::WA_TransparentForMouseEvents);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(20, 20, 20, 20);

    MessageRect = new QWidget(this);
    MessageRect->setObjectName("MessageRect");
    MessageRect->setAttribute(Qt::WA_StyledBackground);
    MessageRect->setStyleSheet(
        "#MessageRect { background: qradialgradient(cx:0.5, cy:0.5, radius:0.8, fx:0.5, fy:0.5,"
        " stop:0 #0D0D0D, stop:1 #393939); border: 3px solid #22c55e; border-radius: 14px; }");
    auto* inner = new QVBoxLayout(MessageRect);
    inner->setContentsMargins(20, 20, 20, 20);
    MsgText = new QLabel(MessageRect);
    MsgText->setObjectName("MsgText");
    MsgText->setAlignment(Qt::AlignCenter);
    MsgText->setWordWrap(true);
    MsgText->setStyleSheet("color: #ff2a2a; font-size: 14pt; font-weight: bold; background: transparent;");
    inner->addWidget(MsgText);
    outer->addWidget(MessageRect);

    ToastAnimation = FormAnimation::opacity(this, "ToastAnimation", 1.0, 0.0, 300);
    ToastAnimation->setDelay(500);
    connect(ToastAnimation, &FormAnimation::Finish, this, [](FormAnimation* a) { a->Disable(); });

    setWidgetOpacity(this, 0.0);
    hide();
}

void ToastLayer::placeOverWindow()
{
    const QWidget* window = parentWidget();
    const int height = sizeHint().height();
    setGeometry(0, (window->height() - height) / 2, window->width(), height);
    raise();
}

void ToastLayer::ShowToast(const QString& text)
{
    show();
    MsgText->setText(text);
    placeOverWindow();
    setWidgetOpacity(this, 1.0);
    ToastAnimation->Disable();
    QCoreApplication::processEvents();
}

void ToastLayer::FlashToast(const QString& text)
{
    show();
    MsgText->setText(text);
    placeOverWindow();
    QCoreApplication::processEvents();
    ToastAnimation->Enable();
}
