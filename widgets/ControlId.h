#pragma once
// Every control carries its control id as its object name, "ctl_<id>", so that its dialog and the
// tests find it by the id the dialog templates give it.

#include <QString>
#include <QWidget>

inline QString ControlName(int id) {
    return QStringLiteral("ctl_%1").arg(id);
}

inline void SetControlId(QWidget& control, int id) {
    control.setObjectName(ControlName(id));
}
