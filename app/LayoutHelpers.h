#pragma once

#include "app/HandlerGuard.h"

#include "widgets/TVrUserLed.h"

#include <QCheckBox>
#include <QLabel>
#include <QList>
#include <QPushButton>
#include <QString>
#include <QWidget>

#include <utility>

// Creates a child widget with its component name and its place on the parent, as the window is
// designed (fixed pixel positions).
template <class W, class... Args>
W* place(QWidget* parent, const char* name, int x, int y, int width, int height, Args&&... args) {
    auto* widget = new W(std::forward<Args>(args)..., parent);
    widget->setObjectName(QString::fromLatin1(name));
    widget->setGeometry(x, y, width, height);
    return widget;
}

template <class W, class... Args>
W* place(QWidget* parent, const QString& name, int x, int y, int width, int height, Args&&... args) {
    auto* widget = new W(std::forward<Args>(args)..., parent);
    widget->setObjectName(name);
    widget->setGeometry(x, y, width, height);
    return widget;
}

// The look the window gives its LEDs: solid colours (equal gradient pairs) inside a one-pixel black
// outline and a one-pixel button-face band.
inline void styleLed(TVrUserLed* led, TColor off, TColor on) {
    led->PaletteEx()->SetLow1(off);
    led->PaletteEx()->SetLow2(off);
    led->PaletteEx()->SetHigh1(on);
    led->PaletteEx()->SetHigh2(on);
    TVrBevel* bevel = led->Bevel();
    bevel->SetOuterOutline(osOuter);
    bevel->SetOuterStyle(bsNone);
    bevel->SetInnerStyle(bsNone);
    bevel->SetInnerSpace(1);
    bevel->SetInnerColor(clBtnFace);
}

inline QPushButton* button(QWidget* parent, const char* name, const QString& caption, int x, int y, int w,
                           int h = 25) {
    auto* b = place<QPushButton>(parent, name, x, y, w, h);
    b->setText(caption);
    return b;
}

inline QLabel* label(QWidget* parent, const QString& name, const QString& caption, int x, int y, int w,
                     int h = 16) {
    auto* l = place<QLabel>(parent, name, x, y, w, h);
    l->setText(caption);
    return l;
}

inline QCheckBox* checkBox(QWidget* parent, const char* name, const QString& caption, bool ticked, int x,
                           int y) {
    auto* c = place<QCheckBox>(parent, name, x, y, 160, 18);
    c->setText(caption);
    c->setChecked(ticked);
    return c;
}

// The LEDs of the pages' lines and lamps: black when off, lime when on.
inline TVrUserLed* lineLed(QWidget* parent, const QString& name, int x, int y) {
    auto* l = place<TVrUserLed>(parent, name, x, y, 29, 15);
    styleLed(l, clBlack, clLime);
    return l;
}

// Lets Tab reach a control while a click still leaves the focus where it was: the widgets' TabStop (a
// click's focus) stays off, so nothing changes for the mouse.
inline void reachableByTab(QWidget* control) {
    control->setFocusPolicy(Qt::TabFocus);
}

// The order Tab takes through the controls, first to last.
inline void tabOrder(const QList<QWidget*>& controls) {
    QWidget* previous = nullptr;
    for (QWidget* control : controls) {
        if (previous)
            QWidget::setTabOrder(previous, control);
        previous = control;
    }
}

// Space released on a control whose clicks the application handles (an LED it switches) runs the
// handler, inside the handler guard.
template <class F> void onSpace(VrControl* control, QObject* context, F handler) {
    QObject::connect(control, &VrControl::OnKeyUp, context,
                     [handler](QObject*, int key, Qt::KeyboardModifiers shift) {
                         if (key == Qt::Key_Space && (shift & ~Qt::KeypadModifier) == Qt::NoModifier)
                             HandlerGuard::run(handler);
                     });
}
