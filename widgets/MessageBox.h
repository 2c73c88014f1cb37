#pragma once
// The program's plain message box: the text and an OK button, titled with the application's name
// unless it is given a title of its own.

#include <QString>

class QWidget;

namespace messagebox {

// Runs modally on the GUI thread; IDOK once the user closed it.
int Show(QWidget* parent, const QString& text, const QString& title = QString());

} // namespace messagebox
