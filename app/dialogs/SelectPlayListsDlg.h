#pragma once
// "Playlists to Synchronize": the playlists a playlist sync knows, one row each with a check box between
// the two sides' columns. "OK" stores the check boxes into the records; "Cancel" changes nothing.

#include "app/dialogs/CodedDialog.h"
#include "app/dialogs/SelectPlayLists.h"

#include <memory>
#include <vector>

class QPushButton;

class SelectPlayListsDlg : public CodedDialog {
public:
    // The captions of the two sides: "iTunes" and "iPod", or "Local iTunes" and "Remote iTunes".
    enum HeaderMode { kPodHeaders = 1, kRemoteHeaders = 2 };
    enum Button { kOkButton = 1, kCancelButton = 2, kCheckAllButton = 3, kUncheckAllButton = 4 };

    explicit SelectPlayListsDlg(QWidget* parent);
    ~SelectPlayListsDlg() override;

    void SetRecords(std::vector<PlayListChoice>* records, HeaderMode mode);
    SelectPlayLists& List() const { return *m_list; }
    QPushButton* ButtonById(int id) const;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    QPushButton* AddButton(int id, const QString& text);

    // In this order, so that the list goes before the rows it shows.
    std::unique_ptr<SelectPlayLists::Rows> m_rows;
    std::unique_ptr<SelectPlayLists> m_list;
    std::vector<QPushButton*> m_buttons;
};
