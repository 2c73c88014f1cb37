#pragma once
// A dialog that ends with the codes its callers know: IDOK when the user confirmed, IDCANCEL for
// "Cancel", Escape or the close box. Its controls are placed by the dialog units of its template.

#include <QDialog>
#include <QRect>

class CodedDialog : public QDialog {
public:
    CodedDialog(QWidget* parent, Qt::WindowFlags flags);

    // Runs the dialog modally: IDOK or IDCANCEL.
    int Run();
    void reject() override;

    // A template rectangle in pixels.
    static QRect Pixels(const QRect& units);
};
