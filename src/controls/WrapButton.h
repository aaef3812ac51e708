#pragma once
// A push button whose caption wraps onto several lines when it is wider than
// the button, as a tall button with a large caption needs.

#include <QPushButton>

class WrapButton : public QPushButton
{
    Q_OBJECT
public:
    using QPushButton::QPushButton;

protected:
    void paintEvent(QPaintEvent *event) override;
};
