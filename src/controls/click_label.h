#pragma once
// A label that runs a handler when clicked, for the web links of the info box.

#include <QLabel>
#include <functional>

class ClickLabel : public QLabel {
public:
    using QLabel::QLabel;
    std::function<void()> OnClick;

protected:
    // A click is a release over the label after a press on it, as with buttons.
    void mouseReleaseEvent(QMouseEvent* event) override;
};
