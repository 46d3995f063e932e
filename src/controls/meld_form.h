#pragma once
// TMeldForm: a small always-on-top window that shows a short text while the program is
// busy (for instance while a print job is prepared). It has no buttons; its caption's close
// box only hides it.

#include "controls/shadow_label.h"

#include <QFrame>
#include <QWidget>

class TMeldForm : public QWidget {
    Q_OBJECT
public:
    explicit TMeldForm(QWidget* parent = nullptr);

    // Shows `text` ("|" breaks lines) at once: shows the window in front, paints it now and
    // lets waiting events run once, so it is on screen before the caller's long work. The
    // caller hides the window when done.
    void ShowText(const QString& text);

    QFrame* Panel1;
    TShadowLabel* InfoLab;

protected:
    void showEvent(QShowEvent* event) override;

private:
    bool placed_ = false;
};
