#pragma once
// "Add Playlist": asks for the name of a new playlist.

#include "app/dialogs/CodedDialog.h"

#include <QString>

class QLineEdit;

class AddPlayListDlg : public CodedDialog {
public:
    static constexpr int kEditId = 1030;

    explicit AddPlayListDlg(QWidget* parent);

    // The name without white space before and after it; empty until "OK".
    const QString& Name() const { return m_name; }
    QLineEdit& Edit() const { return *m_edit; }

private:
    QLineEdit* m_edit;
    QString m_name;
};
