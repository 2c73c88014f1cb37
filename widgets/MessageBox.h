#pragma once
// The program's plain message box: the text and an OK button, titled with the application's name.

#include <QString>

class QWidget;

namespace messagebox {

// Runs modally on the GUI thread; IDOK once the user closed it.
int Show(QWidget* parent, const QString& text);

} // namespace messagebox
